#include "platform/printer_device.h"

// A build without Qt has no spooler and nothing to draw on: no printer is listed and none can be
// opened, not even a PDF file, so every print ends before its document starts.

std::string SpoolerDefaultPrinter() {
    return {};
}
bool ListSpoolerPrinters(std::vector<std::string>&) {
    return false;
}
bool SpoolerHasPrinter(const std::string&) {
    return false;
}
bool CreatePrinterDevice(const std::string&, const PrinterSettingsRecord&) {
    return false;
}
void ReleasePrinterDevice() {}
PrinterOffers SpoolerPrinterOffers(const std::string&) {
    return {};
}
void PresetSpoolerPrinters(const std::vector<std::string>&, const std::string&) {}
void ClearSpoolerPresets() {}
void SetPdfOutput(const std::string&) {}
const std::string& PdfOutput() {
    static const std::string none;
    return none;
}
DeviceMetrics PrinterDeviceMetrics() {
    return {};
}
bool BeginPrinterDocument(const std::string&, const std::string&) {
    return false;
}
void BeginNextPrinterPage() {}
bool EndPrinterDocumentOnDevice() {
    return true;
}
const std::string& PrinterDocumentFailure() {
    static const std::string none;
    return none;
}
void ResetPrinterDrawing(int) {}
bool SelectPrinterFont(const std::string&, int, const std::string&) {
    return false;
}
void SetPrinterTextColour(std::uint32_t) {}
int PrinterTextWidth(const std::string&) {
    return 0;
}
int PrinterTextHeight(const std::string&) {
    return 0;
}
int MeasurePrinterTextBox(int, int, int, int, const std::string&, int, bool) {
    return 0;
}
int DrawPrinterTextBox(int, int, int, int, const std::string&, int, bool) {
    return 0;
}
struct PrinterTextBox::Layout {};
PrinterTextBox::PrinterTextBox() = default;
PrinterTextBox::~PrinterTextBox() = default;
PrinterTextBox::PrinterTextBox(PrinterTextBox&&) noexcept = default;
PrinterTextBox& PrinterTextBox::operator=(PrinterTextBox&&) noexcept = default;
int PrinterTextBox::LayOut(int, const std::string&) {
    return 0;
}
void PrinterTextBox::Draw(int, int, int, int) const {}
void DrawPrinterTextAt(int, int, const std::string&) {}
void DrawPrinterLine(int, int, int, int) {}
