#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <optional>
#include <vector>

#include "platform/qt/display_text.h"
#include "platform/qt/message.h"

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

std::optional<MessageAnswer> AnswerOf(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        case QMessageBox::Abort:
            return MessageAnswer::Abort;
        case QMessageBox::Retry:
            return MessageAnswer::Retry;
        case QMessageBox::Ignore:
            return MessageAnswer::Ignore;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            return std::nullopt;
    }
}

}  // namespace

MessageAnswer ShowMessage(const std::string& title, const std::string& text, MessageButtons buttons,
                          MessageIcon icon, int defaultButton) {
    QString body = MessageToDisplay(text);
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));

    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(ToDisplay(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(body);
    box.setIcon(IconOf(icon));
    const std::vector<QMessageBox::StandardButton> set = ButtonsOf(buttons);
    const int defaultPosition = DefaultButtonPosition(buttons, defaultButton);
    for (std::size_t i = 0; i < set.size(); ++i) {
        QPushButton* button = box.addButton(set[i]);
        if (static_cast<int>(i) + 1 == defaultPosition) box.setDefaultButton(button);
    }
    // While the box is up no window of the program takes input.
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    // A box closed without a button answers as its last button would (Cancel or No), or OK.
    return AnswerOf(box.standardButton(box.clickedButton()))
        .value_or(MessageButtonAnswer(buttons, static_cast<int>(set.size())));
}
