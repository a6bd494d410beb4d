#include <gtest/gtest.h>

#include <QDate>
#include <QTest>
#include <sstream>

#include "app/desktop/book_list_view.h"
#include "app/desktop/main_window.h"
#include "app/desktop/main_window_ids.h"
#include "base/replacing_file.h"
#include "maintenance/export_writer.h"
#include "platform/printer_device.h"
#include "platform/qt/controls.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/message.h"
#include "platform/qt/report_list.h"
#include "print/desktop/list_control_print.h"
#include "print/desktop/print_window.h"
#include "print/list_print.h"
#include "print/page.h"
#include "print/printer_connection.h"
#include "print/printer_settings.h"
#include "support/gui/gui_helpers.h"
#include "support/gui/pdf_text.h"
#include "support/test_folder.h"

namespace {

std::string Today() {
    return QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")).toStdString();
}

std::vector<std::string> LinesOf(const std::string& page) {
    std::vector<std::string> lines;
    std::istringstream in(page);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class PrintOutputTest : public ::testing::Test {
  protected:
    void SetUp() override { SetPdfOutput(pdf.string()); }

    TestFolder folder;
    std::filesystem::path pdf = folder.Path() / "out.pdf";
};

// The printer opened as the Print window opens the one chosen.
int Library() {
    return OpenPrinterDevice("Library", DefaultPrinterSettingsText);
}

// Row n of a long list: its id and cells that say which row they belong to.
std::string ListRow(int n) {
    return std::to_string(1000 + n) + "\tTitle " + std::to_string(n) + "\tAuthor " +
           std::to_string(n) + "\tCALL" + std::to_string(n) + "\tR-2";
}
const std::string LongTitle =
    "A title long enough to need three lines in its column of eighty-six millimetres, "
    "said the librarian, while the others waited at the desk";

TEST_F(PrintOutputTest, PrintsEveryRowOnceInOrderWithoutSplittingRows) {
    constexpr int Rows = 140;
    constexpr int LongRow = 55;
    ASSERT_TRUE(
        PrintBookList(Library(), "All levels   Everything   All categories", Rows, [](int n) {
            return n == LongRow ? "1055\t" + LongTitle + "\tLong, Author\tLONG\t3-5" : ListRow(n);
        }));

    const std::vector<std::string> pages = PdfPages(pdf);
    ASSERT_GE(pages.size(), 3u);
    EXPECT_EQ(PdfPageCount(pdf), static_cast<int>(pages.size()));
    int next = 0;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const std::vector<std::string> lines = LinesOf(pages[p]);
        ASSERT_FALSE(lines.empty());
        EXPECT_NE(lines[0].find(Today()), std::string::npos) << lines[0];
        EXPECT_NE(lines[0].find("All levels Everything All categories"), std::string::npos);
        EXPECT_NE(lines[0].find("Page " + std::to_string(p + 1)), std::string::npos);
        EXPECT_NE(pages[p].find("Call number"), std::string::npos);
        for (std::size_t l = 0; l < lines.size(); ++l) {
            const std::string id = std::to_string(1000 + next);
            if (lines[l].find(id) == std::string::npos) continue;
            if (next == LongRow) {
                // The title wraps onto the next two lines of the same page; the next row follows.
                ASSERT_LT(l + 3, lines.size());
                EXPECT_NE(lines[l].find("A title long"), std::string::npos);
                EXPECT_NE(lines[l + 2].find("desk"), std::string::npos);
                EXPECT_EQ(lines[l + 1].find("1056"), std::string::npos);
                EXPECT_EQ(lines[l + 2].find("1056"), std::string::npos);
            } else {
                EXPECT_NE(lines[l].find("Title " + std::to_string(next) + " "), std::string::npos);
                EXPECT_NE(lines[l].find("CALL" + std::to_string(next)), std::string::npos);
            }
            ++next;
        }
    }
    EXPECT_EQ(next, Rows);  // every row once, in order
}

TEST_F(PrintOutputTest, PrintsAnEmptyListAsOnePageWithItsHeader) {
    ASSERT_TRUE(PrintBookList(Library(), "Mature   Matched   Humour", 0,
                              [](int) { return std::string(); }));
    const std::vector<std::string> pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(PdfPageCount(pdf), 1);
    for (const std::string& text : {Today(), std::string("Mature Matched Humour"),
                                    std::string("Page 1"), std::string("Call number")}) {
        EXPECT_NE(pages[0].find(text), std::string::npos) << text;
    }
}

TEST_F(PrintOutputTest, PrintsAListControlAtItsScaledWidths) {
    ASSERT_TRUE(OpenDialogWindow(34, "New books", 820, 520, ""));
    ReportList* list = AddReportList(34, 35, 10, 10, 800, 400);
    const std::pair<const char*, int> columns[] = {
        {"ID", 80}, {"Title", 270}, {"Author", 210}, {"Added", 100}, {"Level", 100}};
    for (const auto& [heading, width] : columns)
        AddListColumn(list, heading, width);
    AddListRow(list, "7\nPossum|Magic\nFox, Mem\n2024\nR-2");
    AddListRow(list, "12\nThe Hobbit\nTolkien, J.R.R.\n2023\n6-9");
    PresetSpoolerPrinters({"Library"}, "Library");
    PrintWhenAsked();
    PrintListControl(list, "New books added", 0.23, {}, TestSessionServices());
    CloseDialogWindow();

    const std::vector<std::string> pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    const std::string& page = pages[0];
    EXPECT_NE(page.find("New books added"), std::string::npos);
    const std::size_t possum = page.find("Possum Magic");
    const std::size_t hobbit = page.find("The Hobbit");
    ASSERT_NE(possum, std::string::npos);  // "|" inside a cell printed as a space
    ASSERT_NE(hobbit, std::string::npos);
    EXPECT_LT(possum, hobbit);
}

TEST_F(PrintOutputTest, SaysNothingWasPrintedWhenThePrinterCannotBeOpened) {
    const auto printRow = [](int device) {
        return PrintBookList(device, "title", 1,
                             [](int) { return std::string("1\tA\tB\tC\tR-2"); });
    };
    SetPdfOutput("");
    PresetSpoolerPrinters({"No such printer"}, "No such printer");
    TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
    PrintWhenAsked();
    PrintOnChosenPrinter(printRow, {}, TestSessionServices());
    ASSERT_EQ(TestSessionServices().ShownMessages().size(), 1u);
    EXPECT_EQ(TestSessionServices().ShownMessages()[0].title, "Print");
    EXPECT_EQ(TestSessionServices().ShownMessages()[0].icon, MessageIcon::Exclamation);
    EXPECT_NE(TestSessionServices().ShownMessages()[0].text.find("\"No such printer\""),
              std::string::npos);

    // The document cannot start: a PDF file that cannot be created.
    SetPdfOutput((folder.Path() / "no-such-folder" / "out.pdf").string());
    PresetSpoolerPrinters({"Library"}, "Library");
    TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
    PrintWhenAsked();
    PrintOnChosenPrinter(printRow, {}, TestSessionServices());
    ASSERT_EQ(TestSessionServices().ShownMessages().size(), 2u);
    EXPECT_NE(TestSessionServices().ShownMessages()[1].text.find("could not start the document"),
              std::string::npos);
}

// "PDF file" with no printer installed, for the names given in the file dialog ("" cancels it)
// and the answers to replacing "list.pdf": the last name is written, or the reason told.
TEST_F(PrintOutputTest, WritesThePdfFileOrSaysWhyNot) {
    const struct {
        std::vector<std::string> chosen;
        std::vector<MessageAnswer> answers;
        std::string reason;
        bool diskFills = false;
    } cases[] = {
        {{"new.pdf"}, {}, ""},
        {{"list.pdf"}, {MessageAnswer::Yes}, ""},
        {{"list.pdf", "other.pdf"}, {MessageAnswer::No}, ""},
        {{"list.pdf", ""}, {MessageAnswer::No}, ""},
        {{"Booklist.tul"}, {}, "\"Booklist.tul\" is one of Tallyleaf's own data files"},
        {{"missing/list.pdf"}, {}, "No such file or directory"},
        {{"list.pdf"}, {MessageAnswer::Yes}, "No space left on device", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen.back() + " " + c.reason);
        ResetProgramState();
        WriteFile("list.pdf", "old");
        for (const std::string& name : c.chosen)
            TestSessionServices().PresetChosenFile(name.empty() ? name
                                                                : (folder.Path() / name).string());
        for (const MessageAnswer answer : c.answers)
            TestSessionServices().PresetMessageAnswer(answer);
        TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
        FailNextFileAfter(c.diskFills ? 1000 : -1);
        PresetSpoolerPrinters({}, "");
        PrintWhenAsked();
        PrintOnChosenPrinter(
            [](int device) {
                return PrintBookList(device, "title", 1, [](int) {
                    return std::string("7\tPossum Magic\tFox\tF\tR-2");
                });
            },
            PdfFilePlaceIn(DataFolder(folder.Path().string())), TestSessionServices());

        const std::filesystem::path last = folder.Path() / c.chosen.back();
        const std::vector<TestServices::Message>& told = TestSessionServices().ShownMessages();
        const bool written = c.reason.empty() && !c.chosen.back().empty();
        ASSERT_EQ(told.size(), c.answers.size() + (c.reason.empty() && !written ? 0 : 1));
        EXPECT_TRUE(c.answers.empty() ||
                    told[0].text.find("exists. Replace it?") != std::string::npos);
        if (!c.reason.empty()) {
            EXPECT_EQ(told.back().text, "The list was not written to the file\r\n" + last.string() +
                                            "\r\n" + c.reason + ".");
        } else if (written) {
            EXPECT_NE(PdfPages(last).at(0).find("Possum Magic"), std::string::npos);
            EXPECT_EQ(told.back().text, "The PDF was written to " + last.string());
        }
        // "list.pdf" is replaced only when it is the file written.
        EXPECT_EQ(ReadFile("list.pdf") == "old",
                  last.filename() != "list.pdf" || !c.reason.empty());
    }
}

}  // namespace
