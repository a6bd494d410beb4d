#pragma once
#include <cstdint>
#include <string>

#include "platform/services.h"

// The desktop's progress window, as the Qt services show it (platform/services.h says what each
// call does).

void OpenProgressWindow(const std::string& title, const std::string& caption, std::int64_t minimum,
                        std::int64_t maximum, bool withCancel);
void SetProgressPosition(std::int64_t value);
void SetProgressCounter(const std::string& text);
// Handles at most one pending window event without waiting: the id of the control or shortcut
// that fired, -1 for a close request, another code for any other event, 0 when nothing was pending.
int PollProgressWindow();
void CloseProgressWindow();
