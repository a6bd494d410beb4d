// The Review matches window, opened with F6 after a real comparison, on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/desktop/main_window_ids.h"
#include "compare/desktop/review_window.h"
#include "compare/marc_text.h"
#include "compare/match_review.h"
#include "compare/match_takeback.h"
#include "compare/matching.h"
#include "platform/dialogs.h"
#include "platform/message.h"
#include "platform/printer_device.h"
#include "platform/qt/controls.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/report_list.h"
#include "support/gui/gui_helpers.h"
#include "support/gui/pdf_text.h"
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
        WriteFile("Booklist.tul",
                  BooklistLine(1, "Holes", "Sachar, Louis", "N", "Fun", "Mature", "Book") +
                      BooklistLine(2, "Stanley", "Sachar, Louis", "N", "Fun", "Mature", "Book"));
        StartMainWindow(TestSession());
    }

    // Holes matched twice (both to check) and Stanley; "a" in the leader says UTF-8, else
    // Windows-1252.
    void Compare() {
        const std::string records = Record(" ", "h", "Holes") +
                                    Record("a", "s{C3}{A9}", "Stanley") +
                                    Record(" ", "h{E9}", "Holes");
        WriteFile("cat.mrc", MarcFromText(records));
        TestServices comparing;
        RunComparison(TestSession().booklist, CurrentDataFolder(),
                      (folder.Path() / "cat.mrc").string(), {}, comparing);
    }

    TestFolder folder;
};

}  // namespace

TEST_F(ReviewWindowTest, WithoutAWholeReviewOnlySaysSo) {
    TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
    PressF6();
    EXPECT_EQ(WindowById(ReviewWindowNumber), nullptr);
    ASSERT_EQ(TestSessionServices().ShownMessages().size(), 1u);
    EXPECT_EQ(TestSessionServices().ShownMessages()[0].title, "Review matches");
    EXPECT_EQ(TestSessionServices().ShownMessages()[0].icon, MessageIcon::Information);

    // A review cut short is not taken for no review at all.
    Compare();
    const std::string review = ReadFile("MatchReview.txt");
    WriteFile("MatchReview.txt", review.substr(0, review.size() - 5));
    TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
    PressF6();
    EXPECT_EQ(WindowById(ReviewWindowNumber), nullptr);
    ASSERT_EQ(TestSessionServices().ShownMessages().size(), 2u);
    EXPECT_EQ(TestSessionServices().ShownMessages()[1].text,
              "The review of the last comparison is damaged; run the comparison again.");
}

// The rows to check come first; rows selected together are taken back together, or not at all
// when the output is no longer as written.
TEST_F(ReviewWindowTest, ListsTheRowsToCheckFirstAndTakesBackTheSelectedTogetherOrNotAtAll) {
    Compare();
    const std::string output = ReadFile("OUTPUT.MRC");
    const ReviewRow stanley = LoadMatchReview(CurrentDataFolder())->at(1);
    // Each step waits for the window to have handled the one before.
    const auto listOf = [] { return ControlAs<ReportList>(ReviewWindowNumber, ReviewListControl); };
    const auto notAMatch = [] {
        ControlAs<QPushButton>(ReviewWindowNumber, ReviewNotMatchControl)->click();
    };
    WhenShown(
        [] { return ActiveWindowById(ReviewWindowNumber); },
        [&](QWidget*) {
            EXPECT_EQ(Caption(), "3 matches: 2 to check");
            ReportList* list = listOf();
            EXPECT_EQ(ListCell(list, 0, 8) + ListCell(list, 1, 8) + ListCell(list, 2, 8),
                      "hh\xC3\xA9s\xC3\xA9");
            EXPECT_EQ(list->model()->index(2, 8).data().toString(), QString::fromUtf8("sé"));
            EXPECT_EQ(ListCell(list, 0, 0) + ListCell(list, 2, 0), "check");  // to check, marked
            SelectListRows(list, {0, 1});                                     // the two of Holes
            // The output no longer as the run wrote it, once the window is open.
            WriteFile("OUTPUT.MRC", std::string(output).replace(30, 1, "X"));
            TestSessionServices().PresetMessageAnswer(MessageAnswer::Yes);
            TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
            notAMatch();
            WhenShown(
                [&] {
                    return TestSessionServices().ShownMessages().size() == 2 ? listOf() : nullptr;
                },
                [&](QWidget*) {
                    EXPECT_EQ(ListRowCount(listOf()), 3);
                    WriteFile("OUTPUT.MRC", output);
                    TestSessionServices().PresetMessageAnswer(MessageAnswer::Yes);
                    notAMatch();
                    WhenShown(
                        [&] { return ListRowCount(listOf()) == 1 ? listOf() : nullptr; },
                        [&](QWidget*) {
                            EXPECT_EQ(Caption(), "1 match: 0 to check");
                            // The rows taken back come last, greyed, when asked for.
                            ControlAs<QCheckBox>(ReviewWindowNumber, ReviewShowTakenBackControl)
                                ->click();
                            WhenShown(
                                [&] { return ListRowCount(listOf()) == 3 ? listOf() : nullptr; },
                                [](QWidget* shown) {
                                    auto* all = static_cast<ReportList*>(shown);
                                    EXPECT_EQ(ListCell(all, 2, 9), "taken back");
                                    EXPECT_TRUE(all->model()
                                                    ->index(2, 1)
                                                    .data(Qt::ForegroundRole)
                                                    .isValid());
                                    QTest::keyClick(all, Qt::Key_Escape);
                                });
                        });
                });
        });
    PressF6();
    EXPECT_EQ(WindowById(ReviewWindowNumber), nullptr);
    const std::vector<TestServices::Message> asked = TestSessionServices().ShownMessages();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_NE(asked[0].text.find("2 selected matches"), std::string::npos);
    EXPECT_EQ(asked[1].text, "The results of two runs are mixed; run the comparison again.");
    EXPECT_EQ(asked[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(ReadFile("OUTPUT.MRC"), output.substr(stanley.offset, stanley.length));
}

// Print writes the list as shown, the rows to check first, under the caption.
TEST_F(ReviewWindowTest, PrintsTheListAsShown) {
    Compare();
    const std::filesystem::path pdf = folder.Path() / "review.pdf";
    SetPdfOutput(pdf.string());
    PresetSpoolerPrinters({"Library"}, "Library");
    WhenShown([] { return ActiveWindowById(ReviewWindowNumber); },
              [](QWidget*) {
                  PrintWhenAsked();
                  ControlAs<QPushButton>(ReviewWindowNumber, ReviewPrintControl)->click();
              });
    // Polled, not waited for: the Print window's own wait runs meanwhile. Between the rows of a
    // job only the window's repaints are let through. A window still open after 20 s is closed.
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const bool printed = FileExists(pdf) && !LettingWindowEventsThrough();
        if (WindowById(ReviewWindowNumber) && (printed || clock.elapsed() > 20000)) {
            poll.stop();
            PostWindowEvent(ReviewCloseControl, EventClicked);
        }
    });
    poll.start(10);
    PressF6();
    ASSERT_TRUE(FileExists(pdf));
    const std::vector<std::string> pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(InOrder(pages[0], {"3 matches: 2 to check", "Holes", "Holes", "Stanley"}))
        << pages[0];
}

// Another copy of the program takes a match back while the window is open: the window's row
// numbers are another run's now, so it reads the review again and takes nothing back.
TEST_F(ReviewWindowTest, RowsTakenBackElsewhereAreReadAgainBeforeAnythingIsDone) {
    Compare();
    WhenShown([] { return ActiveWindowById(ReviewWindowNumber); },
              [&](QWidget*) {
                  TestServices elsewhere;
                  Booklist other = LoadBooklist(CurrentDataFolder(), elsewhere);
                  ASSERT_TRUE(TakeBackMatches(other, CurrentDataFolder(), {2}, elsewhere));
                  auto* list = ControlAs<ReportList>(ReviewWindowNumber, ReviewListControl);
                  SelectListRows(list, {0});
                  TestSessionServices().PresetMessageAnswer(MessageAnswer::Yes);
                  TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
                  ControlAs<QPushButton>(ReviewWindowNumber, ReviewNotMatchControl)->click();
                  WhenShown(
                      [] {
                          return TestSessionServices().ShownMessages().size() == 2
                                     ? ActiveWindowById(ReviewWindowNumber)
                                     : nullptr;
                      },
                      [](QWidget* window) { QTest::keyClick(window, Qt::Key_Escape); });
              });
    PressF6();
    const auto asked = TestSessionServices().ShownMessages();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].text,
              "The matches have changed since this list was shown; it has been read again.");
    const auto review = LoadMatchReview(CurrentDataFolder());
    ASSERT_TRUE(review);
    EXPECT_EQ(std::count_if(review->begin(), review->end(),
                            [](const ReviewRow& row) { return row.takenBack; }),
              1);
    // The session's booklist follows the files: Stanley, taken back elsewhere, is unmatched.
    EXPECT_EQ(TestSession().booklist.LookupRecord("2").matched, 0);
}
