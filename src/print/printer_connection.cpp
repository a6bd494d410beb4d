#include "print/printer_connection.h"

#include <optional>
#include <vector>

#include "print/printer_settings.h"
#include "print/units.h"

namespace {

struct PrinterState {
    std::string currentName;
    int device = 0;
    int lastDevice = 0;
    // Made at the first open and kept for the session, across jobs and printers.
    std::optional<PrinterSettingsRecord> settings;
    std::vector<std::string> names;
};

PrinterState& State() {
    static PrinterState state;
    return state;
}

// A record with no field set leaves every setting at the printer's own default, so it stands for
// the printer's defaults without copying them.
PrinterSettingsRecord& SettingsRecord() {
    PrinterState& s = State();
    if (!s.settings) s.settings = PrinterSettingsRecord{};
    return *s.settings;
}

}  // namespace

std::string DefaultPrinterName() {
    return SpoolerDefaultPrinter();
}

int EnumeratePrinters() {
    State().names.clear();
    return ListSpoolerPrinters(State().names) ? 1 : 0;
}

int PrinterCount() {
    return static_cast<int>(State().names.size());
}

std::string PrinterName(int index) {
    const std::vector<std::string>& names = State().names;
    if (index < 0 || index >= static_cast<int>(names.size())) return {};
    return names[static_cast<std::size_t>(index)];
}

namespace {

// Releases the previous device and makes `name` the current printer.
void ChangePrinter(const std::string& name) {
    PrinterState& s = State();
    if (s.device != 0) {
        ReleasePrinterDevice();
        s.device = 0;
    }
    s.currentName = name;
}

int CreateDevice(const PrinterSettingsRecord& record) {
    PrinterState& s = State();
    if (!CreatePrinterDevice(s.currentName, record)) return 0;
    // The line pen is 0.2 mm on every device, whatever its resolution.
    ResetPrinterDrawing(UnitsToPixels(0.2, UnitMillimetre, PrinterDeviceMetrics().dpiX));
    s.device = ++s.lastDevice;
    return s.device;
}

}  // namespace

int OpenPrinterDevice(const std::string& name, const std::string& settings) {
    ChangePrinter(name.empty() ? DefaultPrinterName() : name);
    if (!SpoolerHasPrinter(State().currentName)) return 0;
    PrinterSettingsRecord& record = SettingsRecord();
    if (!settings.empty()) ApplyPrinterSettings(settings, record);
    return CreateDevice(record);
}

int OpenPdfDevice(const std::string& settings) {
    ChangePrinter(PdfOutput());
    if (PdfOutput().empty()) return 0;
    PrinterSettingsRecord record;
    ApplyPrinterSettings(settings, record);
    return CreateDevice(record);
}

void KeepPrinterSettings(const PrinterSettingsRecord& record) {
    SettingsRecord() = record;
}

int EndPrinterDocument() {
    return EndPrinterDocumentOnDevice() ? 1 : 0;
}

const std::string& CurrentPrinterName() {
    return State().currentName;
}

int CurrentPrinterDevice() {
    return State().device;
}

const PrinterSettingsRecord& CurrentPrinterSettings() {
    return SettingsRecord();
}

void ResetPrinterState() {
    if (State().device != 0) ReleasePrinterDevice();
    State() = PrinterState{};
}
