#include "print/list_print.h"

#include <algorithm>
#include <ctime>

#include "print/page.h"
#include "print/units.h"

namespace {

int RoundToInt(double value) {
    return static_cast<int>(RoundHalfEven(value));
}

std::string TodayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return PrintDateText(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace

void SetListMargins(int left, int right, int top) {
    PrintJob& job = CurrentPrintJob();
    job.listLeft = left;
    job.listRight = right;
    job.listTop = top;
}

int BeginListPrint(const std::string& title, const std::string& headings, const std::string& widths,
                   double firstPageY, int device) {
    if (StartJob(device, title) == 0) return 0;
    PrintJob& job = CurrentPrintJob();
    if (job.jobHandle == 0) return 0;
    if (job.bodyFontName.empty()) job.bodyFontName = "Arial";
    if (job.bodyFontSize == 0) job.bodyFontSize = 10;
    SetMargins(0, 0, 15, 2);
    SetFont(job.bodyFontName, job.bodyFontSize, "");
    SetPageNumber(1, "Tahoma", 8, PlaceFlushRight, 4, "Page ###");
    SetPageItem(1, "Tahoma", 8, "", Rgb(0, 0, 0), PlaceAtLeft, 3.5, TodayText(), "", 0);
    SetPageItem(2, "Arial", 12, "", Rgb(128, 0, 0), PlaceCentred, 0, title, "", 0);

    const double left = job.listLeft != 0 ? job.listLeft : 0;
    const double right = job.listRight != 0 ? job.listRight : 0;
    double top = ListHeadingTop(job.listTop != 0 ? job.listTop : 15, job.page.offsetY);
    SetMargins(left, right, top, 2);
    if (!headings.empty() && widths.size() > 2) {
        SetPageItem(5, job.bodyFontName, job.bodyFontSize, "u", Rgb(0, 0, 255), PlaceAtCurrentX,
                    top, headings, widths, firstPageY);
        SetColumns(widths, 0);
        SetFont(job.bodyFontName, job.bodyFontSize, "");
        // The rows begin one line and a millimetre below the headings.
        top = top + job.lineHeight + 1.0;
        SetMargins(left, right, top, 2);
    }
    for (int i = 1; i <= 20; ++i)
        job.columnAlign[static_cast<std::size_t>(i)] = 0;
    for (std::size_t i = 0; i < job.alignDigits.size() && i + 1 < ColumnSlots; ++i) {
        const char digit = job.alignDigits[i];
        if (digit >= '0' && digit <= '9') job.columnAlign[i + 1] = digit - '0';
    }
    return job.jobHandle;
}

void PrintRow(const std::string& rowText) {
    if (rowText.empty()) return;
    PrintJob& job = CurrentPrintJob();
    for (int i = 0; i <= 20; ++i)
        job.cells[static_cast<std::size_t>(i)].clear();
    std::vector<std::string> split = SplitRowCells(rowText);
    // The cell table ends at 50; cells past it (only "|" inside texts makes them) are not printed.
    const std::size_t n = std::min(split.size(), static_cast<std::size_t>(ColumnSlots - 1));
    for (std::size_t i = 1; i <= n; ++i)
        job.cells[i] = std::move(split[i - 1]);

    const double bottom = static_cast<double>(RoundHalfEven(job.page.printableHeight));
    SetFont(job.fontName, job.fontSize, job.fontStyle);
    // Each cell is laid out once: the layouts' heights place the row, which is drawn from them.
    double height = 0;
    for (std::size_t i = 1; i <= n; ++i) {
        const double cellHeight =
            LayOutTextBox(job.cellBoxes[i], RoundToInt(job.columnWidth[i]), job.cells[i]);
        height = std::max(height, static_cast<double>(RoundHalfEven(cellHeight)));
    }
    if (RowNeedsNewPage(job.y, height, bottom)) NewPage();
    if (job.pendingStartY != 0) {
        job.y = job.pendingStartY - job.page.offsetY;
        job.pendingStartY = 0;
    }

    double cx = job.x;
    for (std::size_t i = 1; i <= n; ++i) {
        const int w = RoundToInt(job.columnWidth[i]);
        const std::string& cell = job.cells[i];
        if (!cell.empty() && cell.front() == '~') {
            // An image cell; no images are registered for printing, so it stays empty.
            DrawImageFit(cx, job.y, w, 0, 0, 0);
        } else {
            DrawTextBox(job.cellBoxes[i], RoundToInt(cx), RoundToInt(job.y),
                        RoundToInt(job.page.printableHeight), job.columnAlign[i]);
        }
        cx += w + job.columnGap;
    }
    job.y += height + job.rowGap;
}

std::string BookListPrintTitle(const std::string& level, const std::string& match,
                               const std::string& category) {
    return level + "   " + match + "   " + category;
}

std::string PrintedRowOf(std::string_view listRow, int columns) {
    std::string row;
    std::size_t start = 0;
    for (int c = 0; c < columns; ++c) {
        const std::size_t end = listRow.find('\n', start);
        if (c > 0) row += '\t';
        row += listRow.substr(start, end == std::string_view::npos ? listRow.npos : end - start);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return row;
}

bool PrintBookList(int device, const std::string& title, int count,
                   const std::function<std::string(int)>& row) {
    SetListMargins(10, 0, 15);
    if (BeginListPrint(title, BookListPrintHeadings, BookListPrintWidths, 0, device) == 0)
        return false;
    for (int r = 0; r < count; ++r)
        PrintRow(row(r));
    return EndJob();
}
