// The About box on Qt's offscreen platform, opened from the Help menu's command.
#include "maintenance/desktop/about_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QTest>

#include "app/desktop/main_window.h"
#include "app/desktop/main_window_ids.h"
#include "platform/qt/controls.h"
#include "platform/qt/program_window.h"
#include "support/gui/gui_helpers.h"
#include "support/test_folder.h"

namespace {

QWidget* AboutWindow() {
    QWidget* window = WindowById(AboutWindowNumber);
    const bool ready = window && window->isVisible() && QApplication::activeWindow() == window;
    return ready ? window : nullptr;
}

struct Case {
    const char* name;
    const char* versionFile;  // nullptr: no "TULVersion.txt"
    const char* versionLine;
    Qt::Key key;
};

class AboutTest : public ::testing::TestWithParam<Case> {
  protected:
    TestFolder folder;
};

TEST_P(AboutTest, ShowsTheBooklistVersionAndClosesOnItsKeys) {
    const Case& c = GetParam();
    WriteFile("Booklist.tul", "7\tA Kite\tAshcombe, Dacey\tN\t\t\t\t\tAdventure\tMature\t\t\t\r\n");
    if (c.versionFile) WriteFile("TULVersion.txt", c.versionFile);
    StartMainWindow(TestSession());

    std::vector<QString> lines;
    WhenShown(AboutWindow, [&](QWidget* window) {
        EXPECT_EQ(window->windowTitle(), "About TUL Tallyleaf");
        EXPECT_EQ(ProgramWindowById(AboutWindowNumber)->Content()->size(), QSize(320, 170));
        for (int i = 0; i < 6; ++i) {
            auto* line = ControlAs<QLabel>(AboutWindowNumber, AboutFirstLineControl + i);
            ASSERT_NE(line, nullptr);
            lines.push_back(line->text());
            EXPECT_EQ(line->geometry(), QRect(0, 12 + 20 * i, 312, 20));
            EXPECT_EQ(line->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
            // The Tahoma the layout was made for, the system's own or the one brought along.
            EXPECT_EQ(QFontInfo(line->font()).family(), "Tahoma");
            EXPECT_EQ(line->font().pointSize(), 10);
        }
        EXPECT_EQ(ControlById(AboutWindowNumber, AboutCloseControl)->geometry(),
                  QRect(122, 141, 75, 22));
        QTest::keyClick(window, c.key);
    });
    EXPECT_TRUE(DispatchMainCommand(TestSession(), {AboutCommand, EventClicked}));

    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Readvane");
    EXPECT_EQ(lines[1], "Tallyleaf");
    EXPECT_EQ(lines[2], c.versionLine);
    EXPECT_EQ(lines[3], QString("Program version ") + TALLYLEAF_VERSION);
    EXPECT_EQ(WindowStack(), "1");
}

INSTANTIATE_TEST_SUITE_P(
    Versions, AboutTest,
    ::testing::Values(Case{"FromTheVersionFile", "2024.2\r\n", "Version 2024.2", Qt::Key_Return},
                      Case{"LoadersDefault", nullptr, "Version 2015.0", Qt::Key_Escape}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
