#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "platform/printer_device.h"
#include "print/page_layout.h"

// The page drawing layer: one document at a time on the current printer, composed in the current
// unit (millimetres) from the top-left corner of the printable area. The page number and up to 20
// decorations are drawn on each page as it is finished, so the first page carries them too.

struct PageItem {
    bool active = false;
    std::string font;
    int size = 0;
    std::string style;
    std::uint32_t colour = 0;
    double x = 0;  // 0 or more: a position; negative: a placement code
    double y = 0;
    double firstPageY = 0;
    std::string text;
    std::string widths;  // when not empty, the text is drawn as a row of columns
};

inline constexpr int PageItemSlots = 20;
inline constexpr int ColumnSlots = 51;

struct PrintJob {
    int jobHandle = 0;
    int unitMode = 2;
    // The device's metrics, read as the job starts: a job keeps its paper, and asking the printer
    // goes through its page layout each time, which cost more than the cells drawn with them.
    DeviceMetrics device;

    PageGeometry page;
    double leftEdge = 0;
    double topEdge = 0;
    double rightEdge = 0;
    double x = 0;
    double y = 0;
    double columnGap = 1.0;
    double rowGap = 0.0;
    double lineHeight = 0;

    std::string fontName;
    int fontSize = 0;
    std::string fontStyle;
    std::uint32_t textColour = 0;

    std::array<double, ColumnSlots> columnWidth{};
    std::array<int, ColumnSlots> columnAlign{};
    std::array<std::string, ColumnSlots> cells{};
    std::array<PrinterTextBox, ColumnSlots> cellBoxes;  // the cells laid out for their row
    double pendingStartY = 0;
    std::string alignDigits;

    // The font of a list's headings and rows, chosen at the list's start; cleared by EndJob.
    std::string bodyFontName;
    int bodyFontSize = 0;
    // A list's margins from the paper edges; 0 leaves the default.
    int listLeft = 0;
    int listRight = 0;
    int listTop = 0;

    int pageCounter = 0;
    std::string pageNumberTemplate;
    std::string pageNumberFont;
    int pageNumberSize = 0;
    double pageNumberX = 0;
    double pageNumberY = 0;
    int totalPages = 0;

    std::array<PageItem, PageItemSlots + 1> pageItems{};  // slots 1 to 20
    double lastMeasuredHeight = 0;
};

PrintJob& CurrentPrintJob();
// The start values, at program start.
void ResetPrintJob();

int SetUnits(int mode);
int ToDeviceX(double value);
int ToDeviceY(double value);
double FromDeviceX(double pixels);
double FromDeviceY(double pixels);
// The job's metrics while a job is open, else the device's as they are now.
double PrintableWidth();
double PrintableHeight();
double PhysicalWidth();
double PhysicalHeight();
double OffsetX();
double OffsetY();

// Margins from the paper edges; mode 1 also moves x to the left edge, mode 2 x and y to the
// left and top edges.
void SetMargins(double left, double right, double top, int mode);
void SetFont(const std::string& name, int size, const std::string& style);
// background -1 is transparent, the only kind this program draws.
void SetTextColours(std::uint32_t text, long long background);
void SetTextColourIndex(int index);

int TextWidth(const std::string& text);
int TextHeight(const std::string& text);
double WrappedTextHeight(int x, int y, int w, int h, const std::string& text);
void DrawTextAt(double x, double y, const std::string& text);
// A text laid out once, `w` wide: its height, as WrappedTextHeight gives it, to place the row it
// belongs to, and then drawn there from the same layout.
double LayOutTextBox(PrinterTextBox& box, int w, const std::string& text);
void DrawTextBox(const PrinterTextBox& box, int x, int y, int h, int align);
double DrawHeadingBox(double x, double y, double w, double h, const std::string& text, int align);
void DrawLine(double x, double y, double w, double h);
// No images are registered for printing: every image number draws nothing.
void DrawImageFit(double x, double y, double w, double h, int image, int centre);

void SetColumns(const std::string& widths, double startY);
void DrawColumnRow(double x, double y, const std::string& widths, const std::string& text);
void SetPageNumber(int start, const std::string& font, int size, double x, double y,
                   const std::string& pageTemplate);
void ClearPageNumber();
void SetPageItem(int slot, const std::string& font, int size, const std::string& style,
                 std::uint32_t colour, double x, double y, const std::string& text,
                 const std::string& widths, double firstPageY);
void ClearPageItem(int slot);

// Starts the document on the printer device `device`, opened by the caller
// (print/printer_connection.h); the job handle, or 0 when there is no device or the spooler refused
// the document.
int StartJob(int device, const std::string& title = {});
void NewPage();
// Ends the document; false when the device failed to end it or the spooler did not take it
// (PrinterDocumentFailure in platform/printer_device.h says why).
bool EndJob();

inline constexpr std::uint32_t Rgb(int red, int green, int blue) {
    return static_cast<std::uint32_t>(red) << 16 | static_cast<std::uint32_t>(green) << 8 |
           static_cast<std::uint32_t>(blue);
}
