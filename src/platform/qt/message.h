#pragma once
#include <string>

#include "platform/message.h"

// Shows a message box modal to the whole program and returns the pressed button. `buttons` is a
// button-set code ("OC", "YN", "YNC", "RC", "AR", anything else OK), `icon` a piece of "S?!I",
// `defaultButton` 2 or 3 for the second or third button, any other value for the first. A box
// with an answer told in advance (platform/qt/presets.h) is not shown.
int ShowMessage(const std::string& title, const std::string& text, const std::string& buttons,
                const std::string& icon, int defaultButton);
