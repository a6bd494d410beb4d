#include "platform/message_codes.h"

#include "base/text.h"
#include "platform/message.h"

MessageBoxRequest DecodeMessageCodes(const std::string& buttons, const std::string& icon,
                                     int defaultButton) {
    MessageBoxRequest request;
    const std::string set = UpperAscii(buttons);
    if (set == "OC")
        request.buttons = MessageButtons::OkCancel;
    else if (set == "YN")
        request.buttons = MessageButtons::YesNo;
    else if (set == "YNC")
        request.buttons = MessageButtons::YesNoCancel;
    else if (set == "RC")
        request.buttons = MessageButtons::RetryCancel;
    else if (set == "AR")
        request.buttons = MessageButtons::AbortRetryIgnore;

    // The icon code is any piece of "S?!I"; its position there picks the icon.
    const std::string code = UpperAscii(icon);
    if (!code.empty()) {
        static const MessageIcon icons[] = {MessageIcon::Stop, MessageIcon::Question,
                                            MessageIcon::Exclamation, MessageIcon::Information};
        const auto at = std::string("S?!I").find(code);
        if (at != std::string::npos) request.icon = icons[at];
    }

    const int count = MessageButtonCount(request.buttons);
    request.defaultPosition = (defaultButton == 2 || defaultButton == 3) ? defaultButton : 1;
    if (request.defaultPosition > count) request.defaultPosition = 1;
    return request;
}

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

int MessageButtonResult(MessageButtons buttons, int position) {
    static const int results[][3] = {
        {MessageOk, 0, 0},
        {MessageOk, MessageCancel, 0},
        {MessageYes, MessageNo, 0},
        {MessageYes, MessageNo, MessageCancel},
        {MessageRetry, MessageCancel, 0},
        {MessageAbort, MessageRetry, MessageIgnore},
    };
    if (position < 1 || position > MessageButtonCount(buttons)) return 0;
    return results[static_cast<int>(buttons)][position - 1];
}
