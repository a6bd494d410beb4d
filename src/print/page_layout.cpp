#include "print/page_layout.h"

#include <algorithm>
#include <cstdio>

#include "base/text.h"
#include "print/units.h"

MarginEdges EdgesForMargins(const PageGeometry& page, double left, double right, double top) {
    MarginEdges edges;
    edges.left = FromPaperEdge(left, page.offsetX);
    edges.top = FromPaperEdge(top, page.offsetY);
    double cut = static_cast<double>(RoundHalfEven(right - page.RightUnprintable()));
    if (cut < 0) cut = 0;
    edges.right = page.printableWidth - cut;
    return edges;
}

double FromPaperEdge(double distance, double offset) {
    const double inside = distance - offset;
    return inside < 0 ? 0 : inside;
}

std::string PageNumberText(const std::string& pageTemplate, int number) {
    const std::string digits = std::to_string(number);
    std::string text;
    bool replaced = false;
    for (std::size_t at = 0; at < pageTemplate.size();) {
        if (pageTemplate.compare(at, 3, "###") == 0) {
            text += digits;
            at += 3;
            replaced = true;
        } else {
            text += pageTemplate[at++];
        }
    }
    return replaced ? text : text + digits;
}

double PageNumberX(double code, const PageGeometry& page, double rightEdge, double textWidth) {
    if (code == PlaceCentred) return (page.printableWidth - textWidth) / 2;
    if (code == PlaceFlushRight) return page.printableWidth - textWidth;
    if (code == PlaceAtRightMargin || code == PlaceAtLeft) return rightEdge - textWidth;
    return code;
}

std::optional<double> PageItemX(double code, const PageGeometry& page, double rightEdge,
                                double textWidth) {
    if (code == PlaceCentred)
        return static_cast<double>(RoundHalfEven((page.printableWidth - textWidth) / 2));
    if (code == PlaceFlushRight) return page.physicalWidth - textWidth;
    if (code == PlaceAtRightMargin) return rightEdge - textWidth;
    if (code == PlaceAtLeft) return 0.0;
    return std::nullopt;
}

double HeaderRuleY(double offsetY) {
    const double rule = 10 - offsetY;
    return rule < 5 ? 7 : rule;
}

double ListHeadingTop(double top, double offsetY) {
    return std::max(top, offsetY + HeaderRuleY(offsetY) + 1);
}

bool RowNeedsNewPage(double y, double height, double bottom) {
    return y > bottom || static_cast<double>(RoundHalfEven(y + height)) > bottom;
}

std::vector<std::string> SplitRowCells(std::string_view row) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= row.size(); ++at) {
        if (at < row.size() && row[at] != '\t' && row[at] != '|') continue;
        cells.emplace_back(TrimSpaces(row.substr(start, at - start)));
        start = at + 1;
    }
    return cells;
}

std::vector<std::string> SplitListText(std::string_view text) {
    std::vector<std::string> parts;
    if (text.empty()) return parts;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        if (at < text.size() && text[at] != ',' && text[at] != '|' && text[at] != '\t') continue;
        parts.emplace_back(text.substr(start, at - start));
        start = at + 1;
    }
    return parts;
}

std::string PrintDateText(int year, int month, int day) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", day, month, year);
    return text;
}

std::string PrintDocumentName(int draw) {
    return "ZPRINT" + std::to_string(100 + draw) + ".TMP";
}

ListColumnsText ListColumnsForPrint(const std::vector<std::string>& titles,
                                    const std::vector<int>& pixelWidths, double scale) {
    ListColumnsText columns;
    for (std::size_t c = 0; c < titles.size() && c < pixelWidths.size(); ++c) {
        // The first column is taken whatever its width, as its heading begins the list.
        if (c > 0 && pixelWidths[c] <= 0) break;
        const std::string width = std::to_string(RoundHalfEven(pixelWidths[c] * scale));
        columns.headings += (c > 0 ? "," : "") + titles[c];
        columns.widths += (c > 0 ? "," : "") + width;
        ++columns.count;
    }
    return columns;
}
