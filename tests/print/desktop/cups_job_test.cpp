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
#include <sstream>

#include "platform/printer.h"
#include "platform/qt/controls.h"
#include "platform/qt/message.h"
#include "platform/qt/presets.h"
#include "print/desktop/print_window.h"
#include "print/list_print.h"
#include "print/printer.h"
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
        ResetProgramState();
        if (const char* spoolText = std::getenv("TALLYLEAF_TEST_CUPS_SPOOL")) spool = spoolText;
        if (const char* queueText = std::getenv("TALLYLEAF_TEST_PRINTER")) queue = queueText;
    }
    void TearDown() override {
        // The queue takes jobs again for the next test.
        if (!queue.empty()) {
            [[maybe_unused]] const int accepted = std::system(("cupsaccept " + queue).c_str());
        }
        ResetProgramState();
    }
    bool HasScheduler() const { return !queue.empty() && !spool.empty(); }
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

TEST_F(CupsJobTest, AQueueThatRejectsJobsGetsNoDocument) {
    if (!HasScheduler())
        GTEST_SKIP() << "no CUPS scheduler of the test's own (run through with_own_cupsd.sh)";
    ASSERT_EQ(std::system(("cupsreject -r 'Out of toner' " + queue).c_str()), 0);
    EXPECT_FALSE(
        PrintBookList(OpenPrinterDevice(queue, DefaultPrinterSettingsText), "title", 1, OneRow));
    EXPECT_EQ(PrinterDocumentFailure(), "is not accepting jobs (Out of toner)");
    EXPECT_EQ(Jobs(), "");
    EXPECT_TRUE(SpooledDocuments(spool).empty());
}

// The queue stops taking jobs while the document is drawn: the job Qt submits at its end is
// refused, and Qt does not say so.
TEST_F(CupsJobTest, AJobRefusedAtItsEndIsToldAsNotPrinted) {
    if (!HasScheduler())
        GTEST_SKIP() << "no CUPS scheduler of the test's own (run through with_own_cupsd.sh)";
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

// The desktop chooses the queue in the Print window and tells the user that nothing was printed.
TEST_F(CupsJobTest, TheDesktopSaysNothingWasPrintedOnARejectingQueue) {
    if (!HasScheduler())
        GTEST_SKIP() << "no CUPS scheduler of the test's own (run through with_own_cupsd.sh)";
    ASSERT_EQ(std::system(("cupsreject " + queue).c_str()), 0);
    PresetMessageAnswer(MessageOk);
    PrintWhenAsked();
    PrintOnChosenPrinter([](int device) { return PrintBookList(device, "title", 1, OneRow); }, {});
    ASSERT_EQ(MessageRequests().size(), 1u);
    EXPECT_EQ(MessageRequests()[0].title, "Print");
    EXPECT_EQ(MessageRequests()[0].icon, "!");
    EXPECT_EQ(MessageRequests()[0].text.rfind(
                  "Nothing was printed: the printer \"" + queue + "\" is not accepting jobs", 0),
              0u)
        << MessageRequests()[0].text;
    EXPECT_EQ(Jobs(), "");
}

// The newest job's attributes as the scheduler keeps them, one "name (type) = value" a line.
std::string NewestJobAttributes(const std::string& queue) {
    int newest = 0;
    std::istringstream jobs(CommandOutput("lpstat -W all -o " + queue));
    for (std::string line; std::getline(jobs, line);) {
        if (line.rfind(queue + "-", 0) == 0)
            newest = std::max(newest, std::atoi(line.c_str() + queue.size() + 1));
    }
    // ipptool reaches a scheduler on a socket through its path, %2F-encoded.
    std::string socket;
    for (const char c : std::string(std::getenv("CUPS_SERVER")))
        socket += c == '/' ? std::string("%2F") : std::string(1, c);
    return CommandOutput("ipptool -tv 'ipp://" + socket + "/jobs/" + std::to_string(newest) +
                         "' get-job-attributes.test");
}

struct PreferencesCase {
    int copies;
    bool collate;
    std::int16_t sides, colour, quality;
    std::vector<std::string> sent;    // attribute lines the job has
    std::vector<std::string> absent;  // attribute names it has not
};

// Every choice Preferences offers reaches the job: the test queue takes two-sided printing, colour
// and three qualities.
TEST_F(CupsJobTest, ThePreferencesChosenReachTheJob) {
    if (!HasScheduler())
        GTEST_SKIP() << "no CUPS scheduler of the test's own (run through with_own_cupsd.sh)";
    const PreferencesCase cases[] = {
        {2,
         true,
         2,
         1,
         QualityHigh,
         {"copies (integer) = 2", "Collate (boolean) = true",
          "sides (keyword) = two-sided-long-edge", "print-color-mode (keyword) = monochrome",
          "print-quality (enum) = high"},
         {}},
        {3,
         false,
         3,
         2,
         QualityDraft,
         {"copies (integer) = 3", "sides (keyword) = two-sided-short-edge",
          "print-color-mode (keyword) = color", "print-quality (enum) = draft"},
         {"Collate"}},
        {1,
         true,
         1,
         2,
         QualityMedium,
         {"sides (keyword) = one-sided", "print-quality (enum) = normal"},
         {"copies (", "Collate"}},
    };
    for (const PreferencesCase& c : cases) {
        SCOPED_TRACE(c.copies);
        int offered = 0;
        WhenShown([] { return ActiveWindowById(PrintWindowNumber); },
                  [&](QWidget*) {
                      WhenShown([] { return ActiveWindowById(PreferencesWindowNumber); },
                                [&](QWidget*) {
                                    const auto choose = [&](int control, int code) {
                                        auto* box =
                                            ControlAs<QComboBox>(PreferencesWindowNumber, control);
                                        offered += box->count();
                                        box->setCurrentIndex(box->findData(code));
                                    };
                                    ControlAs<QSpinBox>(PreferencesWindowNumber, CopiesControl)
                                        ->setValue(c.copies);
                                    ControlAs<QCheckBox>(PreferencesWindowNumber, CollateControl)
                                        ->setChecked(c.collate);
                                    choose(SidesControl, c.sides);
                                    choose(ColourControl, c.colour);
                                    choose(QualityControl, c.quality);
                                    ControlAs<QPushButton>(PreferencesWindowNumber,
                                                           PreferencesOkControl)
                                        ->click();
                                    PrintWhenAsked();
                                });
                      ControlAs<QPushButton>(PrintWindowNumber, PreferencesControl)->click();
                  });
        PrintOnChosenPrinter([](int device) { return PrintBookList(device, "title", 1, OneRow); },
                             {});
        EXPECT_EQ(offered, 3 + 2 + 3);
        const std::string attributes = NewestJobAttributes(queue);
        for (const std::string& line : c.sent)
            EXPECT_NE(attributes.find(line), std::string::npos) << line << "\n" << attributes;
        for (const std::string& name : c.absent)
            EXPECT_EQ(attributes.find("        " + name), std::string::npos) << attributes;
    }
    EXPECT_TRUE(MessageRequests().empty());
}

}  // namespace
