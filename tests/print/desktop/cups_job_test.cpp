// A job printed through a real CUPS queue: run by tests/support/with_own_cupsd.sh, which gives
// the test a scheduler of its own with a cups-pdf queue as its only and default printer.
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

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
    void SetUp() override { ResetProgramState(); }
    void TearDown() override { ResetProgramState(); }
};

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

}  // namespace
