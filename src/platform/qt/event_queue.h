#pragma once
#include <functional>
#include <optional>

#include "platform/dialogs.h"

// What the user did, in order, waiting for WaitDialogEvent. Controls and shortcuts post here from
// their signal handlers; nothing else acts on a window event.
void QueueWindowEvent(const DialogEvent& event);
std::optional<DialogEvent> TakeWindowEvent();
bool WindowEventQueued();
void ClearWindowEvents();

// Lets every pending window event through without waiting, so that windows repaint while the one
// thread is busy. What the user did meanwhile is not acted upon.
void LetWindowEventsThrough();
// The same, but what the user did stays queued for the caller to look at (for Cancel).
void DispatchWindowEvents();
// Handles window events as they come, waiting for them, until `done` holds; what the user did
// meanwhile is not acted upon. For the blocking operations that wait on something else, such as a
// download.
void LetWindowEventsThroughUntil(const std::function<bool()>& done);
// Whether a long operation is letting window events through at this moment. Controls that act on
// a click themselves instead of queueing it (a list heading) must not act then.
bool LettingWindowEventsThrough();
