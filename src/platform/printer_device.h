#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The printer spooler and the drawing on a printer's page, as the print layer (src/print) sees
// them. One printer device exists at a time; drawing goes to it, in device pixels measured from
// the top-left corner of the printable area.

// The program's own page-setup record. It is kept for the whole session and laid onto each printer
// device as it is created; only the fields whose flag is in `fields` are laid on, the others stay
// as the printer's own defaults have them.
struct PrinterSettingsRecord {
    std::uint16_t fields = 0;
    std::int16_t orientation = 0;  // 1 portrait, 2 landscape
    std::int16_t paperSize = 0;    // the published paper codes: 1 Letter, 5 Legal, 8 A3, 9 A4...
    std::int16_t paperLength = 0;  // tenths of a millimetre
    std::int16_t paperWidth = 0;
    std::int16_t scale = 0;  // percent; kept, without effect here
    std::int16_t copies = 0;
    std::int16_t defaultSource = 0;  // kept, without effect here
    std::int16_t printQuality = 0;   // dots per inch when positive, else a Quality code below
    std::int16_t color = 0;          // 1 monochrome, 2 colour
    std::int16_t duplex = 0;         // 1 none, 2 long edge, 3 short edge
    std::int16_t yResolution = 0;
    std::int16_t ttOption = 0;  // kept, without effect here
    std::int16_t collate = 0;
};

inline constexpr std::uint16_t SettingOrientation = 0x0001;
inline constexpr std::uint16_t SettingPaperSize = 0x0002;
inline constexpr std::uint16_t SettingPaperLength = 0x0004;
inline constexpr std::uint16_t SettingPaperWidth = 0x0008;
inline constexpr std::uint16_t SettingScale = 0x0010;
inline constexpr std::uint16_t SettingCopies = 0x0100;
inline constexpr std::uint16_t SettingDefaultSource = 0x0200;
inline constexpr std::uint16_t SettingPrintQuality = 0x0400;
inline constexpr std::uint16_t SettingColor = 0x0800;
inline constexpr std::uint16_t SettingDuplex = 0x1000;
inline constexpr std::uint16_t SettingYResolution = 0x2000;
inline constexpr std::uint16_t SettingTtOption = 0x4000;
inline constexpr std::uint16_t SettingCollate = 0x8000;

// The published print-quality codes of the record.
inline constexpr std::int16_t QualityDraft = -1;
inline constexpr std::int16_t QualityLow = -2;
inline constexpr std::int16_t QualityMedium = -3;
inline constexpr std::int16_t QualityHigh = -4;

// The spooler: "" when there is no default printer (or no spooler).
std::string SpoolerDefaultPrinter();
// The installed printers in the spooler's order; false when they cannot be listed.
bool ListSpoolerPrinters(std::vector<std::string>& names);
bool SpoolerHasPrinter(const std::string& name);

// Creates the device for `name`, laid out by `record`, in place of the previous one; false when
// it cannot be created (no device then).
bool CreatePrinterDevice(const std::string& name, const PrinterSettingsRecord& record);
void ReleasePrinterDevice();

// What a printer takes of the settings that reach a job besides paper and orientation, and where
// it starts from. Copies and collation every printer takes.
struct PrinterOffers {
    bool twoSided = false;                // long and short edge
    bool colour = false;                  // colour as well as monochrome
    std::vector<std::int16_t> qualities;  // among QualityDraft, QualityMedium, QualityHigh
    // The printer's own copies, collate, duplex, color and printQuality, with their flags.
    PrinterSettingsRecord defaults;
};
PrinterOffers SpoolerPrinterOffers(const std::string& name);

// The spooler's answers told in advance, for tests: the printers listed and the default one,
// instead of the installed ones. ClearSpoolerPresets goes back to the installed printers.
void PresetSpoolerPrinters(const std::vector<std::string>& names, const std::string& defaultName);
void ClearSpoolerPresets();

// While a file is set, every device created writes a PDF file there instead of going to the
// spooler, whatever printer was named, and a printer counts as present. "" ends that.
void SetPdfOutput(const std::string& path);
const std::string& PdfOutput();

struct DeviceMetrics {
    int printableWidth = 0;  // pixels
    int printableHeight = 0;
    int physicalWidth = 0;
    int physicalHeight = 0;
    int offsetX = 0;  // the unprintable strip at the sheet's left and top edge
    int offsetY = 0;
    int dpiX = 0;
    int dpiY = 0;
};
// All zero without a device.
DeviceMetrics PrinterDeviceMetrics();

// Begins the document and its first page; false when the device refuses it, as a printer whose
// queue rejects jobs does. A spooler's job is called `documentName`; a PDF file takes `title`
// (booklist text, windows-1252) as its title when there is one, and "Tallyleaf" as its creator.
bool BeginPrinterDocument(const std::string& documentName, const std::string& title = {});
// Ends the page and begins the next one.
void BeginNextPrinterPage();
// Ends the page and the document; harmless when none is open. False when the end failed, or when
// the spooler did not take the job.
bool EndPrinterDocumentOnDevice();
// Why the last document was refused at its beginning or its end, worded to follow "the printer"
// (for instance "is not accepting jobs"); "" when nothing was refused or no reason is known.
const std::string& PrinterDocumentFailure();

// Top-left text, transparent background, black text, and the line pen `penWidth` pixels wide.
void ResetPrinterDrawing(int penWidth);
// Selects a face whose cell (ascent plus descent) is `cellHeight` pixels; `style` holds the
// letters b, i, u, s. False, with the previous font kept, when it cannot be made.
bool SelectPrinterFont(const std::string& face, int cellHeight, const std::string& style);
void SetPrinterTextColour(std::uint32_t rgb);

// Single-line extents of the text in the current font, in pixels.
int PrinterTextWidth(const std::string& text);
int PrinterTextHeight(const std::string& text);
// Text in the box (x, y, w, h): word-wrapped unless `singleLine`, aligned 0 left, 1 right,
// 2 centred, clipped to the box, "&" printed as it is. Measuring draws nothing; both give the
// height the text takes.
int MeasurePrinterTextBox(int x, int y, int w, int h, const std::string& text, int align,
                          bool singleLine);
int DrawPrinterTextBox(int x, int y, int w, int h, const std::string& text, int align,
                       bool singleLine);
// A text word-wrapped in the current font as DrawPrinterTextBox wraps it, laid out once so that
// a row of them can be measured before the row is placed and then drawn where it lands.
class PrinterTextBox {
  public:
    PrinterTextBox();
    ~PrinterTextBox();
    PrinterTextBox(PrinterTextBox&&) noexcept;
    PrinterTextBox& operator=(PrinterTextBox&&) noexcept;

    // Lays `text` out `w` pixels wide; the height it takes, as MeasurePrinterTextBox gives it.
    int LayOut(int w, const std::string& text);
    // Draws it as DrawPrinterTextBox does, in the box `h` high whose top-left corner is (x, y);
    // the box clips only a text whose ink would leave it, the same pixels at less cost.
    void Draw(int x, int y, int h, int align) const;

  private:
    struct Layout;
    // The last few texts' layouts, the latest first: a column repeats its texts, an author's for
    // each of their books and a level's all down the list.
    std::array<std::unique_ptr<Layout>, 4> recent_;
    const Layout* current_ = nullptr;  // the one to draw, if the text was not empty
};

void DrawPrinterTextAt(int x, int y, const std::string& text);
void DrawPrinterLine(int x1, int y1, int x2, int y2);
