#pragma once
#include <string>

// The short codes of a message request, decoded once for every implementation of ShowMessage.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MessageIcon { None, Stop, Question, Exclamation, Information };

struct MessageBoxRequest {
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    int defaultPosition = 1;  // 1 to the number of buttons
};

MessageBoxRequest DecodeMessageCodes(const std::string& buttons, const std::string& icon,
                                     int defaultButton);
int MessageButtonCount(MessageButtons buttons);
// The result identifier (MessageOk ...) of the button at `position` (1-based) of a set.
int MessageButtonResult(MessageButtons buttons, int position);
