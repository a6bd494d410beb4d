#include <deque>

#include "platform/message.h"
#include "print/print_window.h"
#include "print/printer.h"
#include "print/printer_settings.h"

namespace {

std::deque<std::string>& PresetChoices() {
    static std::deque<std::string> choices;
    return choices;
}

bool HiddenPrinter(const std::string& name) {
    for (const char* prefix : {"Fax", "Microsoft", "Send To", "Adobe"}) {
        if (name.rfind(prefix, 0) == 0) return true;
    }
    return false;
}

}  // namespace

PrinterChoices ListPrinterChoices(const std::string& defaultName) {
    PrinterChoices choices;
    if (!EnumeratePrinters()) return choices;
    for (int i = 0; i < PrinterCount(); ++i) {
        const std::string name = PrinterName(i);
        if (HiddenPrinter(name)) continue;
        if (name == defaultName) choices.preselect = static_cast<int>(choices.names.size());
        choices.names.push_back(name);
    }
    return choices;
}

int OpenChosenPrinter(const std::string& chosen, const std::string& settings) {
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

void PresetPrinterChoice(const std::string& name) {
    PresetChoices().push_back(name);
}

std::optional<std::string> TakePresetPrinterChoice() {
    if (PresetChoices().empty()) return std::nullopt;
    std::string name = PresetChoices().front();
    PresetChoices().pop_front();
    return name;
}

void ResetPrintWindowPresets() {
    PresetChoices().clear();
}
