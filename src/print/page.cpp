#include "print/page.h"

#include <algorithm>
#include <cctype>
#include <random>

#include "base/text.h"
#include "platform/printer_device.h"
#include "print/printer_connection.h"
#include "print/units.h"

namespace {

constexpr const char* AlphabetSample = "AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz";

PrintJob& Job() {
    static PrintJob job;
    return job;
}

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

DeviceMetrics Metrics() {
    const PrintJob& job = Job();
    return job.jobHandle != 0 ? job.device : PrinterDeviceMetrics();
}

// Selects a font on the device without making it the job's current font.
void SelectFont(const std::string& name, int size, const std::string& style) {
    const int cellHeight = size * Metrics().dpiY / 65;
    SelectPrinterFont(name.substr(0, 31), cellHeight, LowerCase(style));
}

int RoundToInt(double value) {
    return static_cast<int>(RoundHalfEven(value));
}

PageGeometry ReadGeometry() {
    PageGeometry page;
    page.printableWidth = PrintableWidth();
    page.printableHeight = PrintableHeight();
    page.physicalWidth = PhysicalWidth();
    page.physicalHeight = PhysicalHeight();
    page.offsetX = OffsetX();
    page.offsetY = OffsetY();
    return page;
}

void DrawPageNumber() {
    PrintJob& job = Job();
    if (job.pageCounter == 0) return;
    std::string text = PageNumberText(job.pageNumberTemplate, job.pageCounter);
    if (job.pageNumberX == PlaceAtLeft && job.pageCounter <= job.totalPages)
        text += " of " + std::to_string(job.totalPages);
    SelectFont(job.pageNumberFont, job.pageNumberSize, "");
    SetPrinterTextColour(Rgb(0, 0, 0));
    const double x = PageNumberX(job.pageNumberX, job.page, job.rightEdge, TextWidth(text));
    DrawTextAt(x, job.pageNumberY, text);
    DrawLine(0, HeaderRuleY(job.page.offsetY), job.page.printableWidth, 0);
    SelectFont(job.fontName, job.fontSize, job.fontStyle);
    SetPrinterTextColour(job.textColour);
    ++job.pageCounter;
}

void DrawPageItems() {
    PrintJob& job = Job();
    for (int slot = 1; slot <= PageItemSlots; ++slot) {
        PageItem& item = job.pageItems[static_cast<std::size_t>(slot)];
        double y = static_cast<double>(RoundHalfEven(item.y));
        if (item.firstPageY != 0) {
            y = static_cast<double>(RoundHalfEven(item.firstPageY));
            item.firstPageY = 0;
        }
        if (!item.active) continue;
        SelectFont(item.font, item.size, item.style);
        SetPrinterTextColour(item.colour);
        if (item.x >= 0) {
            DrawColumnRow(item.x, y, item.widths, item.text);
        } else if (item.x == PlaceAtCurrentX) {
            DrawColumnRow(job.x, y, item.widths, item.text);
        } else if (const auto x =
                       PageItemX(item.x, job.page, job.rightEdge, TextWidth(item.text))) {
            DrawTextAt(*x, y, item.text);
        }
    }
    SetPrinterTextColour(job.textColour);
    SelectFont(job.fontName, job.fontSize, job.fontStyle);
}

void FinishPage() {
    DrawPageNumber();
    DrawPageItems();
}

}  // namespace

PrintJob& CurrentPrintJob() {
    return Job();
}

void ResetPrintJob() {
    Job() = PrintJob{};
}

int SetUnits(int mode) {
    const int previous = Job().unitMode;
    Job().unitMode = mode;
    return previous;
}

int ToDeviceX(double value) {
    return UnitsToPixels(value, Job().unitMode, Metrics().dpiX);
}
int ToDeviceY(double value) {
    return UnitsToPixels(value, Job().unitMode, Metrics().dpiY);
}
double FromDeviceX(double pixels) {
    return PixelsToUnits(pixels, Job().unitMode, Metrics().dpiX);
}
double FromDeviceY(double pixels) {
    return PixelsToUnits(pixels, Job().unitMode, Metrics().dpiY);
}

double PrintableWidth() {
    return FromDeviceX(Metrics().printableWidth);
}
double PrintableHeight() {
    return FromDeviceY(Metrics().printableHeight);
}
double PhysicalWidth() {
    return FromDeviceX(Metrics().physicalWidth);
}
double PhysicalHeight() {
    return FromDeviceY(Metrics().physicalHeight);
}
double OffsetX() {
    return std::max(0.0, FromDeviceX(Metrics().offsetX));
}
double OffsetY() {
    return std::max(0.0, FromDeviceY(Metrics().offsetY));
}

void SetMargins(double left, double right, double top, int mode) {
    PrintJob& job = Job();
    job.page = ReadGeometry();
    const MarginEdges edges = EdgesForMargins(job.page, left, right, top);
    job.leftEdge = edges.left;
    job.topEdge = edges.top;
    job.rightEdge = edges.right;
    if (mode != 0) job.x = job.leftEdge;
    if (mode == 2) job.y = job.topEdge;
}

void SetFont(const std::string& name, int size, const std::string& style) {
    PrintJob& job = Job();
    job.fontName = name;
    job.fontSize = size;
    job.fontStyle = LowerCase(style);
    SelectFont(name, size, style);
    job.lineHeight = TextHeight(AlphabetSample);
}

void SetTextColours(std::uint32_t text, long long /*background*/) {
    // Text is always drawn on a transparent background: nothing in the program asks otherwise.
    Job().textColour = text;
    SetPrinterTextColour(text);
}

void SetTextColourIndex(int /*index*/) {
    SetTextColours(Rgb(0, 0, 0), -1);
}

int TextWidth(const std::string& text) {
    return RoundToInt(FromDeviceX(PrinterTextWidth(text)));
}

int TextHeight(const std::string& text) {
    return RoundToInt(FromDeviceY(PrinterTextHeight(text)));
}

double WrappedTextHeight(int x, int y, int w, int h, const std::string& text) {
    return FromDeviceY(MeasurePrinterTextBox(ToDeviceX(x), ToDeviceY(y), ToDeviceX(w), ToDeviceY(h),
                                             text, 0, false));
}

void DrawTextAt(double x, double y, const std::string& text) {
    DrawPrinterTextAt(ToDeviceX(x), ToDeviceY(y), text);
}

double LayOutTextBox(PrinterTextBox& box, int w, const std::string& text) {
    return FromDeviceY(box.LayOut(ToDeviceX(w), text));
}

void DrawTextBox(const PrinterTextBox& box, int x, int y, int h, int align) {
    box.Draw(ToDeviceX(x), ToDeviceY(y), ToDeviceY(h), align);
}

double DrawHeadingBox(double x, double y, double w, double h, const std::string& text, int align) {
    return FromDeviceY(DrawPrinterTextBox(ToDeviceX(x), ToDeviceY(y), ToDeviceX(w), ToDeviceY(h),
                                          text, align, true));
}

void DrawLine(double x, double y, double w, double h) {
    DrawPrinterLine(ToDeviceX(x), ToDeviceY(y), ToDeviceX(x + w), ToDeviceY(y + h));
}

void DrawImageFit(double, double, double, double, int, int) {}

void SetColumns(const std::string& widths, double startY) {
    PrintJob& job = Job();
    for (int i = 0; i <= 20; ++i)
        job.cells[static_cast<std::size_t>(i)].clear();
    std::vector<std::string> parts;
    if (!widths.empty()) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t comma = widths.find(',', start);
            parts.push_back(widths.substr(start, comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    const std::size_t n = std::min(parts.size(), static_cast<std::size_t>(ColumnSlots - 2));
    for (std::size_t i = 1; i <= n; ++i)
        job.columnWidth[i] = static_cast<double>(ReadWholeNumber(parts[i - 1]));
    job.columnWidth[n + 1] = job.page.printableWidth;
    job.pendingStartY = startY;
}

void DrawColumnRow(double x, double y, const std::string& widths, const std::string& text) {
    if (widths.empty()) {
        DrawTextAt(x, y, text);
        return;
    }
    if (text.empty()) return;
    const std::vector<std::string> fields = SplitListText(text);
    const std::vector<std::string> sizes = SplitListText(widths);
    const PrintJob& job = Job();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const double w = i < sizes.size() ? static_cast<double>(ReadWholeNumber(sizes[i])) : 0.0;
        const double height = WrappedTextHeight(0, RoundToInt(y), RoundToInt(w),
                                                RoundToInt(job.page.printableHeight), fields[i]) +
                              1.0;
        const int align = i + 1 < ColumnSlots ? job.columnAlign[i + 1] : 0;
        DrawHeadingBox(x, y, w, height, fields[i], align);
        x += w + job.columnGap;
    }
}

void SetPageNumber(int start, const std::string& font, int size, double x, double y,
                   const std::string& pageTemplate) {
    PrintJob& job = Job();
    job.pageCounter = start;
    if (start == 0) {
        ClearPageNumber();
        return;
    }
    job.pageNumberFont = font;
    job.pageNumberSize = size;
    job.pageNumberTemplate = pageTemplate;
    job.pageNumberX = x >= 0 ? FromPaperEdge(x, job.page.offsetX) : x;
    job.pageNumberY = FromPaperEdge(y, job.page.offsetY);
}

void ClearPageNumber() {
    PrintJob& job = Job();
    job.pageCounter = 0;
    job.pageNumberTemplate.clear();
    job.pageNumberFont.clear();
    job.pageNumberSize = 0;
    job.pageNumberX = 0;
    job.pageNumberY = 0;
}

void SetPageItem(int slot, const std::string& font, int size, const std::string& style,
                 std::uint32_t colour, double x, double y, const std::string& text,
                 const std::string& widths, double firstPageY) {
    if (slot < 1 || slot > PageItemSlots) return;
    if (font.empty()) {
        ClearPageItem(slot);
        return;
    }
    PrintJob& job = Job();
    PageItem& item = job.pageItems[static_cast<std::size_t>(slot)];
    item.font = font;
    item.size = size;
    item.style = LowerCase(style);
    item.colour = colour;
    item.x = x >= 0 ? FromPaperEdge(x, job.page.offsetX) : x;
    item.y = FromPaperEdge(y, job.page.offsetY);
    item.firstPageY =
        firstPageY > 0
            ? std::max(0.0, static_cast<double>(RoundHalfEven(firstPageY - job.page.offsetY)))
            : 0;
    item.text = text;
    item.widths = widths;
    item.active = true;
    job.lastMeasuredHeight = WrappedTextHeight(0, 0, RoundToInt(job.page.printableWidth),
                                               RoundToInt(job.page.printableHeight), text);
}

void ClearPageItem(int slot) {
    if (slot < 1 || slot > PageItemSlots) return;
    PageItem& item = Job().pageItems[static_cast<std::size_t>(slot)];
    const std::string widths = item.widths;
    item = PageItem{};
    item.widths = widths;
}

int StartJob(int device, const std::string& title) {
    if (device == 0 || device != CurrentPrinterDevice()) return 0;
    std::random_device draw;
    const std::string documentName =
        PrintDocumentName(std::uniform_int_distribution<int>(0, 899)(draw));
    SetUnits(UnitMillimetre);
    // A refused document would print nothing, so the job is not opened.
    if (!BeginPrinterDocument(documentName, title)) return 0;
    PrintJob& job = Job();
    job.device = PrinterDeviceMetrics();
    job.jobHandle = device;
    SetMargins(10, 10, 15, 2);
    job.rowGap = 0.0;
    job.columnGap = 1.0;
    ClearPageNumber();
    SetFont("Tahoma", 10, "");
    SetTextColourIndex(0);
    for (int slot = 1; slot <= PageItemSlots; ++slot)
        ClearPageItem(slot);
    return device;
}

void NewPage() {
    PrintJob& job = Job();
    FinishPage();
    BeginNextPrinterPage();
    SetPrinterTextColour(job.textColour);
    job.x = job.leftEdge;
    job.y = job.topEdge;
}

bool EndJob() {
    PrintJob& job = Job();
    bool ended = true;
    if (job.jobHandle != 0) {
        FinishPage();
        ClearPageNumber();
        for (int slot = 1; slot <= PageItemSlots; ++slot)
            ClearPageItem(slot);
        ended = EndPrinterDocument() != 0;
    }
    job.jobHandle = 0;
    job.alignDigits.clear();
    job.bodyFontName.clear();
    job.bodyFontSize = 0;
    return ended;
}
