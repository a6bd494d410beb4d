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
