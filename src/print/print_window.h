#pragma once
#include <string>
#include <vector>

// The Print window's numbers and the printers it offers; the window itself is the desktop's
// (print/desktop/print_window.h).

inline constexpr int PrintWindowNumber = 40;
inline constexpr int PrintWindowWidth = 450;
inline constexpr int PrintWindowHeight = 380;
inline constexpr int PrinterFrameControl = 41;
inline constexpr int PrinterListControl = 42;
inline constexpr int PreferencesControl = 43;
inline constexpr int PrintButtonControl = 44;
inline constexpr int PrintCancelControl = 45;

// The printers the window lists: fax, document-writer, note-taking and PDF printers left out by
// the start of their names, letter case exact. `preselect` is the default printer's row, or -1.
struct PrinterChoices {
    std::vector<std::string> names;
    int preselect = -1;
};
PrinterChoices ListPrinterChoices(const std::string& defaultName);
