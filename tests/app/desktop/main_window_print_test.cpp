#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QTimer>

#include "app/desktop/book_list_view.h"
#include "app/desktop/main_window.h"
#include "app/desktop/main_window_ids.h"
#include "platform/dialogs.h"
#include "platform/printer_device.h"
#include "platform/qt/controls.h"
#include "platform/qt/display_text.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/report_list.h"
#include "print/page.h"
#include "print/print_window.h"
#include "print/printer_connection.h"
#include "support/gui/gui_helpers.h"
#include "support/gui/pdf_text.h"
#include "support/test_folder.h"

namespace {

// With a printer, or with none: then "PDF file" is preselected and writes the file named.
class MainWindowPrintTest : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        SetPdfOutput(GetParam() ? pdf.string() : "");
        PresetSpoolerPrinters(
            GetParam() ? std::vector<std::string>{"Fax", "Library"} : std::vector<std::string>{},
            GetParam() ? "Library" : "");
        if (!GetParam()) {
            TestSessionServices().PresetChosenFile(pdf.string());
            TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);  // where it was written
        }
    }

    TestFolder folder;
    std::filesystem::path pdf = folder.Path() / "out.pdf";
};

std::string SelectorText(int control) {
    return FromDisplay(ControlAs<QComboBox>(MainWindowNumber, control)->currentText());
}

// F7, then Return in the Print window: the rows the list shows, in the order shown, are printed
// under the selectors' texts, and the rows filtered out are not.
TEST_P(MainWindowPrintTest, F7ThenReturnPrintsTheVisibleRowsInDisplayedOrder) {
    WriteFile("TULVersion.txt", "2024.2\r\n");
    WriteFile(
        "Booklist.tul",
        BooklistLine(12, "The Hobbit", "Tolkien, J.R.R.", "N", "Fantasy", "Mature", "Book") +
            BooklistLine(7, "Possum Magic", "Fox, Mem", "Y", "Animals", "Early Years (R-2)",
                         "Book") +
            BooklistLine(105, "Hatchet", "Paulsen, Gary", "N", "Adventure", "Mature", "Book") +
            BooklistLine(33, "Matilda", "Dahl, Roald", "N", "Humour", "Mature", "Book"));
    StartMainWindow(TestSession());
    ASSERT_EQ(BookListRowCount(), 4);
    // Only the Mature books, sorted by title, which leaves out a leading "The".
    QComboBox* level = ControlAs<QComboBox>(MainWindowNumber, LevelSelectorControl);
    const int mature = level->findText(ToDisplay("Mature"));
    ASSERT_GE(mature, 0);
    level->setCurrentIndex(mature);
    PostWindowEvent(LevelSelectorControl, EventChanged);
    ASSERT_TRUE(HandleNextMainEvent(TestSession()));
    ClickHeading(MainBookList(), 1);
    std::vector<std::string> shown;
    for (int row = 0; row < BookListRowCount(); ++row)
        shown.push_back(BookListCell(row, 1));
    ASSERT_EQ(shown, (std::vector<std::string>{"Hatchet", "The Hobbit", "Matilda"}));

    ASSERT_TRUE(QTest::qWaitFor([] { return ActiveWindowById(MainWindowNumber) != nullptr; }));
    QTest::keyClick(WindowById(MainWindowNumber), Qt::Key_F7);
    bool returned = false;
    WhenShown([] { return ActiveWindowById(PrintWindowNumber); },
              [&returned](QWidget*) {
                  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                  returned = true;
              });
    // A window that does not answer Return is closed so that the test ends.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout,
                     [] { PostWindowEvent(CloseBoxCommand, EventClicked); });
    watchdog.start(10000);
    ASSERT_TRUE(HandleNextMainEvent(TestSession()));
    EXPECT_TRUE(returned);

    const std::vector<std::string> pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    const std::string& page = pages[0];
    const std::string title = SelectorText(LevelSelectorControl) + " " +
                              SelectorText(MatchSelectorControl) + " " +
                              SelectorText(CategorySelectorControl);
    EXPECT_NE(page.find(title), std::string::npos) << page;
    EXPECT_NE(page.find("Page 1"), std::string::npos);
    std::size_t at = 0;
    for (const std::string& title : shown) {
        const std::size_t found = page.find(title, at);
        ASSERT_NE(found, std::string::npos) << title;
        at = found;
    }
    EXPECT_EQ(page.find("Possum Magic"), std::string::npos);
    // The command line prints the same list in the same faces.
    if (!GetParam()) {
        const std::string cli = std::string("'") + TALLYLEAF_CLI + "' print --level Mature --pdf " +
                                (folder.Path() / "cli.pdf").string();
        ASSERT_EQ(std::system(cli.c_str()), 0);
        EXPECT_EQ(PdfFontFaces(folder.Path() / "cli.pdf"), PdfFontFaces(pdf));
        EXPECT_NE(PdfFontFaces(pdf), "");
        // A PDF is called what its pages say, and made by Tallyleaf.
        EXPECT_TRUE(InOrder(CommandOutput("pdfinfo '" + (folder.Path() / "cli.pdf").string() + "'"),
                            {"Title:           Mature   Everything   All categories\n",
                             "Creator:         Tallyleaf\n"}));
    }
    // Where the PDF was written.
    EXPECT_EQ(TestSessionServices().ShownMessages().size(), GetParam() ? 0u : 1u);
    EXPECT_EQ(WindowStack(), "1");
}

INSTANTIATE_TEST_SUITE_P(Printers, MainWindowPrintTest, ::testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "OnTheDefaultPrinter" : "ToAPdfFileWithoutPrinters");
});

}  // namespace
