#include "print/desktop/print_window.h"

#include <sys/stat.h>

#include <algorithm>

#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QPushButton>
#include <QScreen>

#include "platform/dialogs.h"
#include "platform/printer_device.h"
#include "platform/qt/controls.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/fonts.h"
#include "platform/qt/report_list.h"
#include "print/desktop/printer_preferences.h"
#include "print/pdf_target.h"
#include "print/printer_connection.h"
#include "print/printer_settings.h"

namespace {

void CentreOnScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

ReportList* AddPrinterList(const PrinterChoices& choices) {
    const int w = PrintWindowWidth;
    const int h = PrintWindowHeight;
    ReportList* list =
        AddReportList(PrintWindowNumber, PrinterListControl, 24, 32, w - 49, h - 124);
    list->setFont(ProgramFonts().tahoma10);
    AddListColumn(list, "Printer", w - 74);
    for (const std::string& name : choices.names)
        AddListRow(list, name);
    // The default printer when it is listed, else the first row: Print then always prints
    // somewhere.
    const int preselect = std::max(choices.preselect, 0);
    SelectListRows(list, {preselect});
    list->setCurrentIndex(list->Rows()->index(preselect, 0));
    return list;
}

// What the user picked in the window; neither a printer nor the PDF file when it was cancelled.
struct PrintChoice {
    std::string printer;
    bool pdfFile = false;
};

PrintChoice SelectedChoice(const ReportList* list, int pdfRow) {
    const std::vector<int> rows = SelectedListRows(list);
    if (rows.empty()) return {};
    if (rows.front() == pdfRow) return {{}, true};
    return {ListCell(list, rows.front(), 0), false};
}

// Preferences is for the selected printer: a PDF file has none, and no row no printer.
void FollowSelection(ReportList* list, QPushButton* preferences, int pdfRow) {
    const auto follow = [list, preferences, pdfRow] {
        const std::vector<int> rows = SelectedListRows(list);
        preferences->setEnabled(!rows.empty() && rows.front() != pdfRow);
    };
    QObject::connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, preferences,
                     follow);
    follow();
}

PrintChoice AskForPrinter(Services& services) {
    OpenDialogWindow(PrintWindowNumber, "Print", PrintWindowWidth, PrintWindowHeight, "");
    CentreOnScreen(WindowById(PrintWindowNumber));
    const int w = PrintWindowWidth;
    const int h = PrintWindowHeight;
    AddFrame(PrintWindowNumber, PrinterFrameControl, 12, 12, w - 24, h - 60, "Printer");

    // Opening the default printer is how its name is learned.
    OpenPrinterDevice("", "");
    const std::string defaultName = CurrentPrinterName();
    EndPrinterDocument();
    const PrinterChoices choices = ListPrinterChoices(defaultName);
    ReportList* list = AddPrinterList(choices);

    QPushButton* preferences =
        AddButton(PrintWindowNumber, PreferencesControl, 24, h - 82, 75, 22, "Preferences");
    FollowSelection(list, preferences, choices.PdfRow());
    QPushButton* print =
        AddButton(PrintWindowNumber, PrintButtonControl, w - 173, h - 29, 75, 22, "Print");
    AddButton(PrintWindowNumber, PrintCancelControl, w - 86, h - 29, 75, 22, "Cancel");
    // A default button takes Return only in a dialog class of Qt's own; this window's shortcuts do
    // it, and they answer once the window is active.
    print->setDefault(true);
    AddShortcut(PrintWindowNumber, QKeySequence(Qt::Key_Return), PrintButtonControl);
    AddShortcut(PrintWindowNumber, QKeySequence(Qt::Key_Enter), PrintButtonControl);
    AddShortcut(PrintWindowNumber, QKeySequence(Qt::Key_Escape), PrintCancelControl);
    list->setFocus();

    PrintChoice chosen;
    for (;;) {
        const DialogEvent event = WaitDialogEvent();
        if (event.command == CloseBoxCommand || event.command == PrintCancelControl) break;
        const bool doubleClick =
            event.command == PrinterListControl && event.subtype == EventDoubleClick;
        if (event.command == PrintButtonControl && SelectedListRows(list).empty()) {
            // Closing would look as if it had printed.
            services.ShowMessage("Print", "Choose a printer", MessageButtons::Ok,
                                 MessageIcon::Information);
            list->setFocus();
            continue;
        }
        if (event.command == PrintButtonControl ||
            (doubleClick && !SelectedListRows(list).empty())) {
            chosen = SelectedChoice(list, choices.PdfRow());
            break;
        }
        if (event.command == PreferencesControl && preferences->isEnabled()) {
            ShowPrinterPreferences(SelectedChoice(list, choices.PdfRow()).printer);
            list->setFocus();
        }
    }
    CloseDialogWindow();
    return chosen;
}

void ReportPdfNotWritten(const std::string& path, const std::string& reason, Services& services) {
    // The path has a line of its own, as message texts keep paths apart from other wording.
    services.ShowMessage("Print",
                         "The list was not written to the file\r\n" + path + "\r\n" + reason + ".",
                         MessageButtons::Ok, MessageIcon::Exclamation);
}

bool IsRegularFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// Why the PDF may not go to `path`: a FIFO would hold the window until a reader came, and a device
// is no file; the caller refuses its own files.
std::string Refusal(const PdfFilePlace& place, const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode))
        return "it is not a file";
    return place.refusal ? place.refusal(path) : std::string();
}

// The file the user names; a "No" to replacing an existing one asks for another name. "" when the
// user cancels or the name is refused (the user is told why).
std::string AskForPdfFile(const PdfFilePlace& place, Services& services) {
    for (;;) {
        const std::string path = services.ChooseSaveFile("Print to PDF file", "tullist.pdf", "pdf",
                                                         "PDF files (*.pdf)|*.pdf||");
        if (path.empty()) return {};
        if (const std::string refusal = Refusal(place, path); !refusal.empty()) {
            ReportPdfNotWritten(path, refusal, services);
            return {};
        }
        if (!IsRegularFile(path)) return path;
        const MessageAnswer answer =
            services.ShowMessage("Print", "The file\r\n" + path + "\r\nalready exists. Replace it?",
                                 MessageButtons::YesNo, MessageIcon::Question, 2);
        if (answer == MessageAnswer::Yes) return path;
    }
}

void PrintToPdfFile(const std::function<bool(int device)>& print, const PdfFilePlace& place,
                    Services& services) {
    const std::string path = AskForPdfFile(place, services);
    if (path.empty()) return;
    PdfTarget target;
    if (!target.Open(path)) {
        ReportPdfNotWritten(path, target.Reason(), services);
        return;
    }
    const std::string earlierOutput = PdfOutput();
    SetPdfOutput(target.DrawingPath());
    const int device = OpenPdfDevice(DefaultPrinterSettingsText);
    const bool printed = device != 0 && print(device);
    ReleasePrinterDevice();  // Qt's output is closed
    SetPdfOutput(earlierOutput);
    if (!printed) {
        ReportPdfNotWritten(path, "the PDF was not started", services);
    } else if (!target.Commit()) {
        ReportPdfNotWritten(path, target.Reason(), services);
    } else {
        services.ShowMessage("Print", "The PDF was written to " + path, MessageButtons::Ok,
                             MessageIcon::Information);
    }
}

void PrintOnPrinter(const std::function<bool(int device)>& print, const std::string& printer,
                    Services& services) {
    const int device = OpenPrinterDevice(printer, DefaultPrinterSettingsText);
    if (device == 0) {
        ReportNothingPrinted(printer, "could not be opened", services);
        return;
    }
    if (print(device)) return;
    // A queue that rejects jobs refuses the document before it begins, or the job at its end.
    const std::string refusal = PrinterDocumentFailure();
    ReportNothingPrinted(CurrentPrinterName(),
                         refusal.empty() ? "could not start the document" : refusal, services);
}

}  // namespace

void ReportNothingPrinted(const std::string& printer, const std::string& reason,
                          Services& services) {
    services.ShowMessage("Print",
                         "Nothing was printed: the printer \"" + printer + "\" " + reason + ".",
                         MessageButtons::Ok, MessageIcon::Exclamation);
}

void PrintOnChosenPrinter(const std::function<bool(int device)>& print, const PdfFilePlace& pdf,
                          Services& services) {
    const PrintChoice chosen = AskForPrinter(services);
    if (chosen.pdfFile) {
        PrintToPdfFile(print, pdf, services);
    } else if (!chosen.printer.empty()) {
        PrintOnPrinter(print, chosen.printer, services);
    }
}
