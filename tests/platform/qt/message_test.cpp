#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <set>
#include <string>
#include <utility>

#include "platform/qt/message.h"
#include "support/gui/gui_helpers.h"

namespace {

struct Seen {
    std::set<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
};

// Shows a real message box, answers it with `press` (the default button when NoButton) and
// returns what ShowMessage gave back.
MessageAnswer Show(MessageButtons buttons, MessageIcon icon, int defaultButton, Seen& seen,
                   QMessageBox::StandardButton press = QMessageBox::NoButton,
                   const std::string& text = "Text") {
    WhenShown(VisibleModal<QMessageBox>, [&seen, press](QWidget* window) {
        auto& box = static_cast<QMessageBox&>(*window);
        for (QAbstractButton* button : box.buttons())
            seen.buttons.insert(box.standardButton(button));
        if (box.defaultButton()) seen.defaultButton = box.standardButton(box.defaultButton());
        seen.icon = box.icon();
        seen.text = box.text();
        QAbstractButton* answer = press == QMessageBox::NoButton
                                      ? static_cast<QAbstractButton*>(box.defaultButton())
                                      : box.button(press);
        if (answer) answer->click();
    });
    return ShowMessage("Title", text, buttons, icon, defaultButton);
}

TEST(ShowMessageTest, ButtonSetsIconsAndDefaults) {
    Seen yesNo;
    using B = MessageButtons;
    using I = MessageIcon;
    EXPECT_EQ(Show(B::YesNo, I::Question, 2, yesNo), MessageAnswer::No);
    EXPECT_EQ(yesNo.buttons, (std::set{QMessageBox::Yes, QMessageBox::No}));
    EXPECT_EQ(yesNo.defaultButton, QMessageBox::No);
    EXPECT_EQ(yesNo.icon, QMessageBox::Question);

    Seen abort;
    EXPECT_EQ(Show(B::AbortRetryIgnore, I::Stop, 3, abort, QMessageBox::Retry),
              MessageAnswer::Retry);
    EXPECT_EQ(abort.buttons,
              (std::set{QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore}));
    EXPECT_EQ(abort.defaultButton, QMessageBox::Ignore);
    EXPECT_EQ(abort.icon, QMessageBox::Critical);

    Seen yesNoCancel;
    EXPECT_EQ(Show(B::YesNoCancel, I::Exclamation, 0, yesNoCancel, QMessageBox::Cancel),
              MessageAnswer::Cancel);
    EXPECT_EQ(yesNoCancel.defaultButton, QMessageBox::Yes);
    EXPECT_EQ(yesNoCancel.icon, QMessageBox::Warning);

    Seen okCancel;
    EXPECT_EQ(Show(B::OkCancel, I::Question, 2, okCancel), MessageAnswer::Cancel);
    EXPECT_EQ(okCancel.icon, QMessageBox::Question);

    Seen retry;
    EXPECT_EQ(Show(B::RetryCancel, I::Information, 1, retry), MessageAnswer::Retry);
    EXPECT_EQ(retry.buttons, (std::set{QMessageBox::Retry, QMessageBox::Cancel}));
    EXPECT_EQ(retry.icon, QMessageBox::Information);
}

TEST(ShowMessageTest, OneOkWithoutIconAndLinesBrokenAtCrLf) {
    Seen seen;
    EXPECT_EQ(
        Show(MessageButtons::Ok, MessageIcon::None, 3, seen, QMessageBox::NoButton, "One\r\nTwo"),
        MessageAnswer::Ok);
    EXPECT_EQ(seen.buttons, std::set{QMessageBox::Ok});
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.text, "One\nTwo");
}

TEST(ShowMessageTest, BooklistTextAndPathsShowInTheirOwnEncodings) {
    const std::pair<std::string, const char*> cases[] = {
        // Booklist text is Windows-1252.
        {"\x93Holes\x94 \x96 Sachar\x85 \x80"
         "5",
         "“Holes” – Sachar… €5"},
        // A path is the file system's UTF-8, whether on its own line or ending one.
        {"Tagged library items are in the file\r\n/srv/Biblioth\xC3\xA8que/OUTPUT.MRC",
         "Tagged library items are in the file\n/srv/Biblioth\xC3\xA8que/OUTPUT.MRC"},
        {"Caf\xE9\r\nsaved to /srv/Biblioth\xC3\xA8que.",
         "Caf\xC3\xA9\nsaved to /srv/Biblioth\xC3\xA8que."},
        // Bytes that are not UTF-8 can only be the code page's.
        {"/srv/Biblioth\xE8que", "/srv/Biblioth\xC3\xA8que"},
    };
    for (const auto& [text, shown] : cases) {
        Seen seen;
        Show(MessageButtons::Ok, MessageIcon::Information, 0, seen, QMessageBox::NoButton, text);
        EXPECT_EQ(seen.text, QString::fromUtf8(shown));
    }
}

}  // namespace
