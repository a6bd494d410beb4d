// The Review matches window, opened with F6 after a real comparison, on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/desktop/main_window_ids.h"
#include "compare/desktop/review_window.h"
#include "compare/marc_text.h"
#include "compare/matching.h"
#include "platform/message.h"
#include "platform/qt/controls.h"
#include "platform/qt/presets.h"
#include "platform/qt/report_list.h"
#include "support/gui/gui_helpers.h"
#include "support/test_folder.h"
#include "support/test_services.h"

namespace {

std::string Record(const std::string& coding, const std::string& id, const std::string& title) {
    return "LDR 00000nam " + coding + "2200000 a 4500\n001 " + id + "\n100 1 $aSachar, Louis.\n" +
           "245 10$a" + title + "\n\n";
}

std::string Caption() {
    return FromDisplay(ControlAs<QLabel>(ReviewWindowNumber, ReviewCaptionControl)->text());
}

void PressF6() {
    ASSERT_TRUE(QTest::qWaitFor([] { return ActiveWindowById(MainWindowNumber) != nullptr; }));
    QTest::keyClick(WindowById(MainWindowNumber), Qt::Key_F6);
    EXPECT_TRUE(HandleNextMainEvent(TestSession()));
}

class ReviewWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgramState();
        WriteFile("Booklist.tul",
                  BooklistLine(1, "Holes", "Sachar, Louis", "N", "Fun", "Mature", "Book") +
                      BooklistLine(2, "Stanley", "Sachar, Louis", "N", "Fun", "Mature", "Book"));
        StartMainWindow(TestSession());
    }
    void TearDown() override { ResetProgramState(); }

    TestFolder folder;
};

}  // namespace

TEST_F(ReviewWindowTest, ListsTheRowsToCheckFirstAndTakesBackAMatch) {
    // Holes matched twice is to check; "a" in the leader says UTF-8, else Windows-1252.
    WriteFile("cat.mrc",
              MarcFromText(Record(" ", "h", "Holes") + Record("a", "s{C3}{A9}", "Stanley") +
                           Record(" ", "h{E9}", "Holes")));
    TestServices comparing;
    RunComparison(CurrentDataFolder(), (folder.Path() / "cat.mrc").string(), {}, comparing);
    const std::size_t before = ReadFile("OUTPUT.MRC").size();  // three records
    WhenShown([] { return ActiveWindowById(ReviewWindowNumber); },
              [](QWidget*) {
                  EXPECT_EQ(Caption(), "3 matches: 2 to check");
                  auto* list = ControlAs<ReportList>(ReviewWindowNumber, ReviewListControl);
                  EXPECT_EQ(ListCell(list, 0, 6) + ListCell(list, 1, 6) + ListCell(list, 2, 6),
                            "hh\xC3\xA9s\xC3\xA9");
                  EXPECT_EQ(list->model()->index(2, 6).data().toString(), QString::fromUtf8("sé"));
                  SelectListRows(list, {1});
                  PresetMessageAnswer(MessageYes);
                  ControlAs<QPushButton>(ReviewWindowNumber, ReviewNotMatchControl)->click();
                  WhenShown([list] { return ListRowCount(list) == 2 ? list : nullptr; },
                            [](QWidget* list) {
                                EXPECT_EQ(Caption(), "2 matches: 0 to check");
                                QTest::keyClick(list, Qt::Key_Escape);
                            });
              });
    PressF6();
    EXPECT_EQ(WindowById(ReviewWindowNumber), nullptr);
    EXPECT_LT(ReadFile("OUTPUT.MRC").size(), before);  // the record of the row is cut
    EXPECT_EQ(MessageRequests().size(), 1u);           // the question
}

TEST_F(ReviewWindowTest, WithoutAComparisonOnlySaysSo) {
    PresetMessageAnswer(MessageOk);
    PressF6();
    EXPECT_EQ(WindowById(ReviewWindowNumber), nullptr);
    ASSERT_EQ(MessageRequests().size(), 1u);
    EXPECT_EQ(MessageRequests()[0].title + MessageRequests()[0].icon, "Review matchesI");
}
