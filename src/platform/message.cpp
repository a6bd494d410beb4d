#include "platform/message.h"

int MessageButtonCount(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return 1;
        case MessageButtons::YesNoCancel:
        case MessageButtons::AbortRetryIgnore:
            return 3;
        default:
            return 2;
    }
}

MessageAnswer MessageButtonAnswer(MessageButtons buttons, int position) {
    using A = MessageAnswer;
    static constexpr A answers[][3] = {
        {A::Ok, A::Ok, A::Ok},           {A::Ok, A::Cancel, A::Ok},
        {A::Yes, A::No, A::Yes},         {A::Yes, A::No, A::Cancel},
        {A::Retry, A::Cancel, A::Retry}, {A::Abort, A::Retry, A::Ignore},
    };
    const int row = static_cast<int>(buttons);
    return answers[row][DefaultButtonPosition(buttons, position) - 1];
}

int DefaultButtonPosition(MessageButtons buttons, int defaultButton) {
    return defaultButton >= 1 && defaultButton <= MessageButtonCount(buttons) ? defaultButton : 1;
}
