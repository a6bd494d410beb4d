#pragma once
#include <optional>
#include <string>
#include <vector>

// The Print window, in which the user picks a printer before anything is printed. Mode 0 shows
// it; mode 1 opens the default printer at once. Gives the opened device's handle, or 0 when the
// user cancelled or the chosen printer could not be opened. An empty settings text stands for
// A4 portrait. The desktop shows a window; without one, a choice told in advance is taken and a
// call without one counts as cancelled.
int ShowPrintWindow(int mode, const std::string& settings);

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

// Opens the printer the user chose ("" when none was) with the job's settings; says so when the
// printer cannot be opened. The device's handle or 0.
int OpenChosenPrinter(const std::string& chosen, const std::string& settings);
// Tells the user that nothing was printed on `printer`, and why.
void ReportNothingPrinted(const std::string& printer, const std::string& reason);

// The printer the next Print window will answer with, told in advance ("" for Cancel): the
// window is not shown. For tests and the command-line tool.
void PresetPrinterChoice(const std::string& name);
std::optional<std::string> TakePresetPrinterChoice();
void ResetPrintWindowPresets();
