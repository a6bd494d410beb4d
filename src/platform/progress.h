#pragma once
#include <cstdint>
#include <string>

// The one progress window of the program: a two-line caption, a counter line, a bar and an
// optional Cancel button. Long operations drive it record by record, so every call must be cheap.

// What PollProgressWindow returns when the user pressed Cancel (the button, Escape or Return).
inline constexpr int ProgressCancelId = 90;

void OpenProgressWindow(const std::string& title, const std::string& caption, std::int64_t minimum,
                        std::int64_t maximum, bool withCancel);
void SetProgressPosition(std::int64_t value);
void SetProgressCounter(const std::string& text);
// Handles at most one pending window event without waiting: the id of the control or shortcut
// that fired, -1 for a close request, another code for any other event, 0 when nothing was pending.
int PollProgressWindow();
void CloseProgressWindow();
