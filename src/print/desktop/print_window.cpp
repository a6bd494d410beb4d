#include "print/desktop/print_window.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeySequence>
#include <QPushButton>
#include <QScreen>

#include "platform/dialogs.h"
#include "platform/printer.h"
#include "platform/qt/controls.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/fonts.h"
#include "platform/qt/message.h"
#include "platform/qt/report_list.h"
#include "print/printer.h"
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
    if (choices.preselect >= 0) {
        SelectListRows(list, {choices.preselect});
        list->setCurrentIndex(list->Rows()->index(choices.preselect, 0));
    }
    return list;
}

std::string SelectedPrinter(const ReportList* list) {
    const std::vector<int> rows = SelectedListRows(list);
    return rows.empty() ? std::string() : ListCell(list, rows.front(), 0);
}

void ShowPreferences(const std::string& printer) {
    QWidget* window = WindowById(PrintWindowNumber);
    window->setEnabled(false);
    OpenPrinterDevice(printer, "");
    ShowPrinterProperties();
    EndPrinterDocument();
    window->setEnabled(true);
    window->activateWindow();
}

// The printer the user picks in the window, or "" when the window is cancelled.
std::string AskForPrinter() {
    OpenDialogWindow(PrintWindowNumber, "Print", PrintWindowWidth, PrintWindowHeight, "");
    CentreOnScreen(WindowById(PrintWindowNumber));
    const int w = PrintWindowWidth;
    const int h = PrintWindowHeight;
    AddFrame(PrintWindowNumber, PrinterFrameControl, 12, 12, w - 24, h - 60, "Printer");

    // Opening the default printer is how its name is learned.
    OpenPrinterDevice("", "");
    const std::string defaultName = CurrentPrinterName();
    EndPrinterDocument();
    ReportList* list = AddPrinterList(ListPrinterChoices(defaultName));

    AddButton(PrintWindowNumber, PreferencesControl, 24, h - 82, 75, 22, "Preferences");
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

    std::string chosen;
    for (;;) {
        const DialogEvent event = WaitDialogEvent();
        if (event.command == CloseBoxCommand || event.command == PrintCancelControl) break;
        const bool doubleClick =
            event.command == PrinterListControl && event.subtype == EventDoubleClick;
        if (event.command == PrintButtonControl || doubleClick) {
            chosen = SelectedPrinter(list);
            break;
        }
        if (event.command == PreferencesControl) {
            const std::string selected = SelectedPrinter(list);
            if (!selected.empty()) ShowPreferences(selected);
            list->setFocus();
        }
    }
    CloseDialogWindow();
    return chosen;
}

}  // namespace

int ShowPrintWindow(const std::string& settings) {
    const std::string chosen = AskForPrinter();
    if (chosen.empty()) return 0;
    const int device =
        OpenPrinterDevice(chosen, settings.empty() ? DefaultPrinterSettingsText : settings);
    if (device == 0) ReportNothingPrinted(chosen, "could not be opened");
    return device;
}

void ReportNothingPrinted(const std::string& printer, const std::string& reason) {
    ShowMessage("Print", "Nothing was printed: the printer \"" + printer + "\" " + reason + ".",
                "OK", "!", 0);
}

void PrintOnChosenPrinter(const std::function<bool(int device)>& print) {
    const int device = ShowPrintWindow();
    if (device == 0) return;
    if (print(device)) return;
    // A queue that rejects jobs refuses the document before it begins, or the job at its end.
    const std::string refusal = PrinterDocumentFailure();
    ReportNothingPrinted(CurrentPrinterName(),
                         refusal.empty() ? "could not start the document" : refusal);
}
