// Jobs printed through a real CUPS queue: run by tests/support/with_own_cupsd.sh, which gives
// the test a scheduler of its own with a cups-pdf queue as its only and default printer. Qt's
// CUPS output does not tell whether the queue took the job; the program asks libcups.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/printer_device.h"
#include "platform/qt/controls.h"
#include "platform/qt/message.h"
#include "print/desktop/print_window.h"
#include "print/list_print.h"
#include "print/printer_connection.h"
#include "print/printer_settings.h"
#include "support/gui/gui_helpers.h"
#include "support/gui/pdf_text.h"

namespace {

namespace fs = std::filesystem;

// The document files the scheduler keeps of its jobs ("d00001-001"), in job order.
std::vector<fs::path> SpooledDocuments(const fs::path& spool) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(spool)) {
        if (entry.path().filename().string().rfind("d", 0) == 0) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class CupsJobTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* spoolText = std::getenv("TALLYLEAF_TEST_CUPS_SPOOL")) spool = spoolText;
        if (const char* queueText = std::getenv("TALLYLEAF_TEST_PRINTER")) queue = queueText;
        if (queue.empty() || spool.empty())
            GTEST_SKIP() << "no CUPS scheduler of the test's own (run through with_own_cupsd.sh)";
    }
    void TearDown() override {
        // The queue takes jobs again for the next test.
        if (!queue.empty()) {
            [[maybe_unused]] const int accepted = std::system(("cupsaccept " + queue).c_str());
        }
    }
    // Every job the queue has, done or not, as lpstat lists them.
    std::string Jobs() const { return CommandOutput("lpstat -W all -o " + queue); }

    fs::path spool;
    std::string queue;
};

std::string OneRow(int) {
    return "1\tA title\tAn author\tCALL\tR-2";
}

TEST_F(CupsJobTest, PrintsTheListThroughTheQueue) {
    const char* spoolText = std::getenv("TALLYLEAF_TEST_CUPS_SPOOL");
    const char* queueText = std::getenv("TALLYLEAF_TEST_PRINTER");
    if (!spoolText || !queueText)
        GTEST_SKIP() << "no CUPS scheduler of the test's own (run through with_own_cupsd.sh)";
    const fs::path spool = spoolText;
    const std::string queue = queueText;

    ASSERT_EQ(DefaultPrinterName(), queue);
    ASSERT_EQ(EnumeratePrinters(), 1);
    ASSERT_EQ(PrinterCount(), 1);
    EXPECT_EQ(PrinterName(0), queue);

    constexpr int Rows = 90;
    ASSERT_TRUE(PrintBookList(OpenPrinterDevice(queue, DefaultPrinterSettingsText),
                              "All levels   Everything   All categories", Rows, [](int n) {
                                  return std::to_string(5000 + n) + "\tTitle " + std::to_string(n) +
                                         "\tAuthor\tCALL\tR-2";
                              }));

    const std::string completed = "lpstat -W completed -o " + queue;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return CommandOutput(completed).find(queue + "-") != std::string::npos; }, 20000))
        << CommandOutput("lpstat -W all -o " + queue);
    const std::vector<fs::path> documents = SpooledDocuments(spool);
    ASSERT_EQ(documents.size(), 1u);

    // The document as Qt sent it: cups-pdf's own output has fonts pdftotext cannot read.
    const std::vector<std::string> pages = PdfPages(documents[0]);
    ASSERT_GE(pages.size(), 2u);
    EXPECT_EQ(PdfPageCount(documents[0]), static_cast<int>(pages.size()));
    int next = 0;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        EXPECT_NE(pages[p].find("Page " + std::to_string(p + 1)), std::string::npos);
        EXPECT_NE(pages[p].find("All levels Everything All categories"), std::string::npos);
        while (next < Rows && pages[p].find(std::to_string(5000 + next)) != std::string::npos)
            ++next;
    }
    EXPECT_EQ(next, Rows);
}

// The queue stops taking jobs while the document is drawn: the job Qt submits at its end is
// refused, and Qt does not say so.
TEST_F(CupsJobTest, AJobRefusedAtItsEndIsToldAsNotPrinted) {
    const std::string reject = "cupsreject " + queue;
    EXPECT_FALSE(PrintBookList(OpenPrinterDevice(queue, DefaultPrinterSettingsText), "title", 3,
                               [&](int row) {
                                   if (row == 1) {
                                       EXPECT_EQ(std::system(reject.c_str()), 0);
                                   }
                                   return OneRow(row);
                               }));
    EXPECT_EQ(PrinterDocumentFailure(),
              "did not take the job (Destination \"" + queue + "\" is not accepting jobs)");
    EXPECT_EQ(Jobs(), "");

    // Taking jobs again, the next one prints and nothing is said.
    ASSERT_EQ(std::system(("cupsaccept " + queue).c_str()), 0);
    EXPECT_TRUE(
        PrintBookList(OpenPrinterDevice(queue, DefaultPrinterSettingsText), "title", 1, OneRow));
    EXPECT_EQ(PrinterDocumentFailure(), "");
    EXPECT_NE(Jobs().find(queue + "-"), std::string::npos);
}

// A queue that rejects jobs gets no document; the desktop chooses it in the Print window and
// tells the user that nothing was printed, with the administrator's reason.
TEST_F(CupsJobTest, AQueueThatRejectsJobsGetsNoDocumentAndTheDesktopSaysSo) {
    ASSERT_EQ(std::system(("cupsreject -r 'Out of toner' " + queue).c_str()), 0);
    TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
    PrintWhenAsked();
    PrintOnChosenPrinter([](int device) { return PrintBookList(device, "title", 1, OneRow); }, {},
                         TestSessionServices());
    ASSERT_EQ(TestSessionServices().ShownMessages().size(), 1u);
    EXPECT_EQ(TestSessionServices().ShownMessages()[0].title, "Print");
    EXPECT_EQ(TestSessionServices().ShownMessages()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(TestSessionServices().ShownMessages()[0].text.rfind(
                  "Nothing was printed: the printer \"" + queue + "\" is not accepting jobs", 0),
              0u)
        << TestSessionServices().ShownMessages()[0].text;
    EXPECT_EQ(PrinterDocumentFailure(), "is not accepting jobs (Out of toner)");
    EXPECT_EQ(Jobs(), "");
    EXPECT_TRUE(SpooledDocuments(spool).empty());
}

// The copies, collation, sides, colour and quality of job `n` of the test's own scheduler, as
// "name=value " sorted; ipptool reaches the scheduler's socket through its %2F-encoded path.
std::string JobChoices(int n) {
    return CommandOutput(R"(ipptool -tv "ipp://$(echo $CUPS_SERVER | sed s,/,%2F,g)/jobs/)" +
                         std::to_string(n) + R"(" get-job-attributes.test | sed -n )" +
                         R"('s/^ *\(copies\|Collate\|sides\|print-[a-z-]*\) ([a-z]*) = /\1=/p')" +
                         R"( | sort | tr '\n' ' ')");
}

// Every choice Preferences offers reaches the job: the test queue takes both sides, colour and
// three qualities.
TEST_F(CupsJobTest, ThePreferencesChosenReachTheJob) {
    const struct {
        int copies;
        bool collate;
        int sides, colour, quality;
        std::string job;
    } cases[] = {
        {2, true, 2, 1, QualityHigh,
         "Collate=true copies=2 print-color-mode=monochrome print-quality=high "
         "sides=two-sided-long-edge "},
        {3, false, 3, 2, QualityDraft,
         "copies=3 print-color-mode=color print-quality=draft sides=two-sided-short-edge "},
    };
    for (int job = 1; const auto& c : cases) {
        int offered = 0;
        WhenShown(
            [] { return ActiveWindowById(PreferencesWindowNumber); },
            [&](QWidget*) {
                ControlAs<QSpinBox>(PreferencesWindowNumber, CopiesControl)->setValue(c.copies);
                ControlAs<QCheckBox>(PreferencesWindowNumber, CollateControl)
                    ->setChecked(c.collate);
                for (const auto& [control, code] : {std::pair{SidesControl, c.sides},
                                                    {ColourControl, c.colour},
                                                    {QualityControl, c.quality}}) {
                    auto* box = ControlAs<QComboBox>(PreferencesWindowNumber, control);
                    offered += box->count();
                    box->setCurrentIndex(box->findData(code));
                }
                ControlAs<QPushButton>(PreferencesWindowNumber, PreferencesOkControl)->click();
                PrintWhenAsked();
            });
        PostWindowEvent(PreferencesControl, EventClicked);
        PrintOnChosenPrinter([](int device) { return PrintBookList(device, "title", 1, OneRow); },
                             {}, TestSessionServices());
        EXPECT_EQ(offered, 3 + 2 + 3);
        EXPECT_EQ(JobChoices(job++), c.job);
    }
}

}  // namespace
