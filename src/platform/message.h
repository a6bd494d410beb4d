#pragma once
#include <string>

// Results of ShowMessage: the standard message-box button identifiers.
enum MessageResult {
    MessageOk = 1,
    MessageCancel = 2,
    MessageAbort = 3,
    MessageRetry = 4,
    MessageIgnore = 5,
    MessageYes = 6,
    MessageNo = 7,
};

// Shows a message box modal to the whole program and returns the pressed button. `buttons` is a
// button-set code ("OC", "YN", "YNC", "RC", "AR", anything else OK), `icon` a piece of "S?!I",
// `defaultButton` 2 or 3 for the second or third button, any other value for the first.
int ShowMessage(const std::string& title, const std::string& text, const std::string& buttons,
                const std::string& icon, int defaultButton);
