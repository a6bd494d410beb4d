#pragma once
#include <string>

// A small window telling the user to wait while the program does something that has no progress
// to show: `message` from near its top, wrapped at word boundaries within the window, no buttons,
// no input. It is modal over the active window like a dialog; only the caller closes it.
void OpenProgressNotice(const std::string& title, const std::string& message, int width,
                        int height);
void CloseProgressNotice();
