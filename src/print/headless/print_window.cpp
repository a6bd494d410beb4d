#include "print/print_window.h"
#include "print/printer.h"
#include "print/printer_settings.h"

// Without a window there is nobody to ask: only a choice told in advance prints.
int ShowPrintWindow(int mode, const std::string& settings) {
    const std::string& job = settings.empty() ? std::string(DefaultPrinterSettingsText) : settings;
    if (mode == 1) return OpenPrinterDevice("", job);
    const std::optional<std::string> chosen = TakePresetPrinterChoice();
    return chosen ? OpenChosenPrinter(*chosen, job) : 0;
}
