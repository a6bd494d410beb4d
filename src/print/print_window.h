#pragma once
#include <functional>
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

// Preferences: the settings of the selected printer that reach a job.
inline constexpr int PreferencesWindowNumber = 46;
inline constexpr int PreferencesLabelControl = 460;
inline constexpr int CopiesControl = 461;
inline constexpr int CollateControl = 462;
inline constexpr int SidesControl = 463;
inline constexpr int ColourControl = 464;
inline constexpr int QualityControl = 465;
inline constexpr int PreferencesOkControl = 468;
inline constexpr int PreferencesCancelControl = 469;

// The last entry of the list, always there: the list printed to a PDF file instead.
inline constexpr const char* PdfFileEntry = "PDF file";

// The printers the window lists: fax, document-writer, note-taking and PDF printers left out by
// the start of their names, letter case exact; then "PDF file". `preselect` is the default
// printer's row, "PDF file" when no printer is listed, or -1.
struct PrinterChoices {
    std::vector<std::string> names;
    int preselect = -1;
    int PdfRow() const { return static_cast<int>(names.size()) - 1; }
};
PrinterChoices ListPrinterChoices(const std::string& defaultName);

// Which files "PDF file" must not replace: `refusal` gives the reason a path may not be written,
// "" when it may. The file dialog proposes the file where the services' dialogs start.
struct PdfFilePlace {
    std::function<std::string(const std::string& path)> refusal;
};
