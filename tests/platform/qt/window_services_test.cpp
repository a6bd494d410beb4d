#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/dialogs.h"
#include "platform/qt/controls.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/pause.h"
#include "platform/qt/program_window.h"
#include "platform/qt/progress.h"
#include "support/gui/gui_helpers.h"

namespace {

class WindowServicesTest : public ::testing::Test {
  protected:
    void TearDown() override { CloseProgressWindow(); }

    static QWidget* ProgressWindow() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget->findChild<QProgressBar*>()) return widget;
        }
        return nullptr;
    }
};

TEST_F(WindowServicesTest, DialogIsModalOverTheWindowBelow) {
    ASSERT_TRUE(OpenMainWindow(1, "", 3, 960, 650));
    QWidget* main = WindowById(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == main; }, 5000));

    ASSERT_NE(OpenDialogWindow(5, "Details", 400, -1, ""), 0);
    ProgramWindow* dialog = ProgramWindowById(5);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }, 5000));
    EXPECT_EQ(dialog->Content()->size(), QSize(400, 300));
    EXPECT_EQ(WindowStack(), "5,1");
    EXPECT_FALSE(main->isEnabled());
    EXPECT_TRUE(dialog->isEnabled());
    EXPECT_EQ(dialog->parentWidget(), main);

    // Only the dialog in front reports what the user does; its close box does not close it.
    AddButton(5, 7, 10, 10, 75, 22, "OK");
    ControlAs<QPushButton>(5, 7)->click();
    const DialogEvent clicked = WaitDialogEvent();
    EXPECT_EQ(clicked.command, 7);
    EXPECT_EQ(clicked.subtype, EventClicked);
    dialog->close();
    EXPECT_EQ(WaitDialogEvent().command, CloseBoxCommand);
    EXPECT_TRUE(dialog->isVisible());

    CloseDialogWindow();
    EXPECT_EQ(WindowStack(), "1");
    EXPECT_EQ(WindowById(5), nullptr);
    EXPECT_TRUE(main->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == main; }, 5000));
}

TEST_F(WindowServicesTest, CloseOnEmptyStackDoesNothing) {
    CloseDialogWindow();
    EXPECT_EQ(WindowStack(), "");
    ASSERT_TRUE(OpenMainWindow(1, "", 3, 960, 650));
    CloseDialogWindow();
    EXPECT_EQ(WindowStack(), "");
    EXPECT_EQ(WindowById(1), nullptr);
    CloseDialogWindow();
    EXPECT_EQ(WindowStack(), "");
}

TEST_F(WindowServicesTest, MenuItemListBuildsItemsSubmenusAndSeparators) {
    ASSERT_TRUE(OpenMainWindow(1, "", 3, 960, 650));
    BuildMenu(1, "File", "Open,11,-,|More,Two,12,|,Last,13,-");
    BuildMenu(1, "", "Ignored,14");
    auto* bar = static_cast<QMainWindow*>(WindowById(1))->menuBar();
    ASSERT_EQ(bar->actions().size(), 1);
    const QList<QAction*> items = bar->actions()[0]->menu()->actions();
    // Open, separator, More, Last: the separator given as the last field is not read.
    ASSERT_EQ(items.size(), 4);
    EXPECT_TRUE(items[1]->isSeparator());
    ASSERT_NE(items[2]->menu(), nullptr);
    EXPECT_EQ(items[2]->menu()->actions()[0]->text(), "Two");
    EXPECT_EQ(items[3]->text(), "Last");

    items[2]->menu()->actions()[0]->trigger();
    EXPECT_EQ(WaitDialogEvent().command, 12);
}

TEST_F(WindowServicesTest, EscapeAndReturnCancelTheProgressWindow) {
    ASSERT_TRUE(OpenMainWindow(1, "", 3, 960, 650));
    OpenProgressWindow("Scanning library catalogue file", "Scanning.\r\nComparing.", 0,
                       std::int64_t{5} << 32, true);
    QWidget* progress = ProgressWindow();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(WindowStack(), "1");
    EXPECT_EQ(progress->size(), QSize(340, 170));
    auto* cancel = progress->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->geometry(), QRect(258, 141, 75, 22));

    SetProgressPosition(std::int64_t{4} << 32);
    SetProgressCounter("1,000 records read, 12 matches");
    QTest::keyClick(progress, Qt::Key_Escape);
    EXPECT_EQ(PollProgressWindow(), ProgressCancelId);
    // Whatever was shown last is on screen once events have been let through.
    auto* bar = progress->findChild<QProgressBar*>();
    EXPECT_EQ(bar->value() * 5, bar->maximum() * 4);
    bool counterShown = false;
    for (QLabel* label : progress->findChildren<QLabel*>()) {
        counterShown |= label->text() == "1,000 records read, 12 matches";
    }
    EXPECT_TRUE(counterShown);

    QTest::keyClick(progress, Qt::Key_Return);
    EXPECT_EQ(PollProgressWindow(), ProgressCancelId);
    cancel->click();
    EXPECT_EQ(PollProgressWindow(), ProgressCancelId);

    CloseProgressWindow();
    EXPECT_EQ(ProgressWindow(), nullptr);
    SetProgressPosition(10);  // nothing open: nothing happens
    SetProgressCounter("x");
    EXPECT_EQ(PollProgressWindow(), 0);
}

TEST_F(WindowServicesTest, ThePauseAfterARunShowsItsFinalValues) {
    ASSERT_TRUE(OpenMainWindow(1, "", 3, 960, 650));
    struct Run {
        std::int64_t size;
        const char* counter;
    };
    // A catalogue of 120,000 records, and an empty one: a full bar, and an empty bar that is not
    // Qt's busy indicator.
    for (const Run& run : {Run{9'600'000, "120,000  4,680"}, Run{0, "0  0"}}) {
        SCOPED_TRACE(run.size);
        OpenProgressWindow("Scanning library catalogue file", "Scanning", 0, run.size, true);
        QWidget* progress = ProgressWindow();
        ASSERT_NE(progress, nullptr);
        auto* bar = progress->findChild<QProgressBar*>();
        // The last values of a run arrive quicker than the window repaints.
        SetProgressPosition(run.size);
        SetProgressCounter(run.counter);

        int barShown = -1;
        QString counterShown;
        QTimer::singleShot(0, [&] {
            barShown = bar->value();
            for (QLabel* label : progress->findChildren<QLabel*>()) {
                if (label->geometry().y() == 45) counterShown = label->text();
            }
        });
        PauseWithEvents(5);
        EXPECT_GT(bar->maximum(), bar->minimum());
        EXPECT_EQ(barShown, run.size > 0 ? bar->maximum() : bar->minimum());
        EXPECT_EQ(counterShown, run.counter);
        CloseProgressWindow();
    }
}

TEST_F(WindowServicesTest, WithoutCancelEscapeDoesNothing) {
    OpenProgressWindow("Booklist", "Reading data...", 0, 100, false);
    QWidget* progress = ProgressWindow();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->findChild<QPushButton*>(), nullptr);
    // The keys are delivered at once; without Cancel they leave nothing for a poll to find.
    QTest::keyClick(progress, Qt::Key_Escape);
    QTest::keyClick(progress, Qt::Key_Return);
    EXPECT_FALSE(WindowEventQueued());
    EXPECT_NE(PollProgressWindow(), ProgressCancelId);
}

}  // namespace
