#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "platform/dialogs.h"
#include "platform/printer_device.h"
#include "platform/qt/controls.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/program_window.h"
#include "platform/qt/report_list.h"
#include "print/desktop/print_window.h"
#include "print/page.h"
#include "print/printer_connection.h"
#include "support/gui/gui_helpers.h"
#include "support/test_folder.h"

namespace {

// What the user does in the Print window once it is active.
enum class Action { Return, Enter, Escape, CancelButton, PrintButton, CloseBox, DoubleClick };

struct WindowCase {
    const char* name;
    std::vector<std::string> installed;
    std::string defaultPrinter;
    Action action;
    std::vector<std::string> listed;
    std::string selectedOnOpen;  // "" for no selected row
    std::string printedOn;       // "" when the window must give nothing, silently
};

void PrintTo(const WindowCase& c, std::ostream* out) {
    *out << c.name;
}

const std::vector<std::string> Installed = {"Fax",
                                            "Library",
                                            "fax-room",
                                            "Microsoft Print to PDF",
                                            "Send To OneNote",
                                            "Adobe PDF",
                                            "Office",
                                            "adobe",
                                            "Faxes here",
                                            "send to hall"};
const std::vector<std::string> Listed = {"Library", "fax-room",     "Office",
                                         "adobe",   "send to hall", PdfFileEntry};

const WindowCase Cases[] = {
    {"ReturnPrintsOnTheDefault", Installed, "Office", Action::Return, Listed, "Office", "Office"},
    {"EnterPrintsOnTheDefault", Installed, "Library", Action::Enter, Listed, "Library", "Library"},
    {"PrintButton", Installed, "Office", Action::PrintButton, Listed, "Office", "Office"},
    {"EscapeCancels", Installed, "Office", Action::Escape, Listed, "Office", ""},
    {"CancelButtonCancels", Installed, "Office", Action::CancelButton, Listed, "Office", ""},
    {"CloseBoxCancels", Installed, "Office", Action::CloseBox, Listed, "Office", ""},
    {"DoubleClickPrintsOnTheRow", Installed, "Office", Action::DoubleClick, Listed, "Office",
     "adobe"},
    {"HiddenDefaultSelectsTheFirst", Installed, "Adobe PDF", Action::Return, Listed, "Library",
     "Library"},
    {"OnlyHiddenPrinters",
     {"Fax", "Adobe PDF"},
     "Fax",
     Action::PrintButton,
     {PdfFileEntry},
     PdfFileEntry,
     ""},
    {"NoPrinters", {}, "", Action::Return, {PdfFileEntry}, PdfFileEntry, ""},
};

class PrintWindowTest : public ::testing::TestWithParam<WindowCase> {
  protected:
    void SetUp() override { SetPdfOutput(pdf.string()); }

    TestFolder folder;
    std::filesystem::path pdf = folder.Path() / "out.pdf";
};

void Act(Action action, ReportList* list) {
    switch (action) {
        case Action::Return:
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            break;
        case Action::Enter:
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
            break;
        case Action::Escape:
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            break;
        case Action::PrintButton:
            ControlAs<QPushButton>(PrintWindowNumber, PrintButtonControl)->click();
            break;
        case Action::CancelButton:
            ControlAs<QPushButton>(PrintWindowNumber, PrintCancelControl)->click();
            break;
        case Action::CloseBox:
            WindowById(PrintWindowNumber)->close();
            break;
        case Action::DoubleClick: {
            // The row of "adobe", the fourth listed.
            const QPoint at = list->visualRect(list->model()->index(3, 0)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            break;
        }
    }
}

TEST_P(PrintWindowTest, ListsThePrintersAndAnswersTheUser) {
    const WindowCase& c = GetParam();
    PresetSpoolerPrinters(c.installed, c.defaultPrinter);

    TestSessionServices().PresetChosenFile("");  // the file dialog of "PDF file" cancelled
    std::vector<std::string> listed;
    std::string selected = "(not seen)";
    bool listFocused = false;
    bool preferencesEnabled = false;
    WhenShown([] { return ActiveWindowById(PrintWindowNumber); },
              [&](QWidget*) {
                  ReportList* list = ControlAs<ReportList>(PrintWindowNumber, PrinterListControl);
                  ASSERT_NE(list, nullptr);
                  for (int r = 0; r < ListRowCount(list); ++r)
                      listed.push_back(ListCell(list, r, 0));
                  const std::vector<int> rows = SelectedListRows(list);
                  selected = rows.empty() ? std::string() : ListCell(list, rows.front(), 0);
                  listFocused = QApplication::focusWidget() == list;
                  preferencesEnabled =
                      ControlAs<QPushButton>(PrintWindowNumber, PreferencesControl)->isEnabled();
                  Act(c.action, list);
              });
    // A window that does not answer the user fails the test instead of holding it up.
    bool unanswered = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&unanswered] {
        unanswered = true;
        PostWindowEvent(CloseBoxCommand, EventClicked);
    });
    watchdog.start(10000);
    std::string printedOn;
    const auto print = [&](int device) {
        printedOn = CurrentPrinterName();
        return device != 0;  // else a message the test does not expect
    };
    PrintOnChosenPrinter(print, {}, TestSessionServices());

    EXPECT_FALSE(unanswered);

    EXPECT_EQ(WindowById(PrintWindowNumber), nullptr);
    EXPECT_EQ(listed, c.listed);
    EXPECT_EQ(selected, c.selectedOnOpen);
    EXPECT_TRUE(listFocused);
    // Preferences belongs to a printer: not to the PDF file, nor to no row.
    EXPECT_EQ(preferencesEnabled, !c.selectedOnOpen.empty() && c.selectedOnOpen != PdfFileEntry);
    EXPECT_TRUE(TestSessionServices().ShownMessages().empty());
    EXPECT_EQ(printedOn, c.printedOn);
    // Print on "PDF file" asks for the file.
    ASSERT_EQ(TestSessionServices().FileDialogs().size(),
              c.selectedOnOpen == PdfFileEntry ? 1u : 0u);
    for (const TestServices::FileDialog& asked : TestSessionServices().FileDialogs()) {
        EXPECT_TRUE(asked.save);
        EXPECT_EQ(asked.defaultName + " " + asked.filter, "tullist.pdf PDF files (*.pdf)|*.pdf||");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintWindowTest, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
