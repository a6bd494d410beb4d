#pragma once
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
