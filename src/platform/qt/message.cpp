#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

#include "platform/message_codes.h"
#include "platform/qt/display_text.h"
#include "platform/qt/message.h"
#include "platform/qt/presets.h"

namespace {

std::vector<QMessageBox::StandardButton> ButtonsOf(MessageButtons set) {
    using B = QMessageBox;
    switch (set) {
        case MessageButtons::OkCancel:
            return {B::Ok, B::Cancel};
        case MessageButtons::YesNo:
            return {B::Yes, B::No};
        case MessageButtons::YesNoCancel:
            return {B::Yes, B::No, B::Cancel};
        case MessageButtons::RetryCancel:
            return {B::Retry, B::Cancel};
        case MessageButtons::AbortRetryIgnore:
            return {B::Abort, B::Retry, B::Ignore};
        case MessageButtons::Ok:
            break;
    }
    return {B::Ok};
}

QMessageBox::Icon IconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

int ResultOf(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageOk;
        case QMessageBox::Cancel:
            return MessageCancel;
        case QMessageBox::Abort:
            return MessageAbort;
        case QMessageBox::Retry:
            return MessageRetry;
        case QMessageBox::Ignore:
            return MessageIgnore;
        case QMessageBox::Yes:
            return MessageYes;
        case QMessageBox::No:
            return MessageNo;
        default:
            return 0;
    }
}

}  // namespace

int ShowMessage(const std::string& title, const std::string& text, const std::string& buttons,
                const std::string& icon, int defaultButton) {
    if (const auto preset = TakePresetMessageAnswer({title, text, buttons, icon, defaultButton})) {
        return *preset;
    }
    const MessageBoxRequest request = DecodeMessageCodes(buttons, icon, defaultButton);
    QString body = MessageToDisplay(text);
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));

    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(ToDisplay(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(body);
    box.setIcon(IconOf(request.icon));
    const std::vector<QMessageBox::StandardButton> set = ButtonsOf(request.buttons);
    for (std::size_t i = 0; i < set.size(); ++i) {
        QPushButton* button = box.addButton(set[i]);
        if (static_cast<int>(i) + 1 == request.defaultPosition) box.setDefaultButton(button);
    }
    // While the box is up no window of the program takes input.
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    const int result = ResultOf(box.standardButton(box.clickedButton()));
    // A box closed without a button answers as its last button would (Cancel or No), or OK.
    return result != 0 ? result
                       : MessageButtonResult(request.buttons, static_cast<int>(set.size()));
}
