#include "print/print_window.h"
#include "print/printer_connection.h"

namespace {

bool HiddenPrinter(const std::string& name) {
    for (const char* prefix : {"Fax", "Microsoft", "Send To", "Adobe"}) {
        if (name.rfind(prefix, 0) == 0) return true;
    }
    return false;
}

}  // namespace

PrinterChoices ListPrinterChoices(const std::string& defaultName) {
    PrinterChoices choices;
    if (EnumeratePrinters()) {
        for (int i = 0; i < PrinterCount(); ++i) {
            const std::string name = PrinterName(i);
            if (HiddenPrinter(name)) continue;
            if (name == defaultName) choices.preselect = static_cast<int>(choices.names.size());
            choices.names.push_back(name);
        }
    }
    if (choices.names.empty()) choices.preselect = 0;
    choices.names.emplace_back(PdfFileEntry);
    return choices;
}
