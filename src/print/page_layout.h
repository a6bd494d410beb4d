#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The page arithmetic of the print layer, without a device: every quantity in the current unit,
// positions measured from the top-left corner of the printable area.

struct PageGeometry {
    double printableWidth = 0;
    double printableHeight = 0;
    double physicalWidth = 0;
    double physicalHeight = 0;
    double offsetX = 0;
    double offsetY = 0;

    double RightUnprintable() const { return physicalWidth - printableWidth - offsetX; }
};

struct MarginEdges {
    double left = 0;
    double top = 0;
    double right = 0;  // x of the right margin
};

// Margins given from the paper edges, as edges inside the printable area; a margin narrower than
// the unprintable strip puts its edge at the printable area's own edge, never outside it.
MarginEdges EdgesForMargins(const PageGeometry& page, double left, double right, double top);

// A distance from the paper edge as a position in the printable area, clamped at its edge.
double FromPaperEdge(double distance, double offset);

// Placement codes of a page's number and decorations; any x of 0 or more is a position.
inline constexpr int PlaceAtCurrentX = -1;
inline constexpr int PlaceCentred = -2;
inline constexpr int PlaceFlushRight = -3;
inline constexpr int PlaceAtRightMargin = -4;
inline constexpr int PlaceAtLeft = -5;

// The page number's text: each "###" of the template becomes the number, or the number is
// appended when there is none.
std::string PageNumberText(const std::string& pageTemplate, int number);
// The page number's x: -3 is flush right at the printable width; -5 flush right at the right
// margin (with " of N" added when the total is known, `text` then grows).
double PageNumberX(double code, const PageGeometry& page, double rightEdge, double textWidth);
// A decoration's x for the codes -2 to -5; -3 here ends the text on the whole sheet's width.
// Nothing for a code that draws nothing.
std::optional<double> PageItemX(double code, const PageGeometry& page, double rightEdge,
                                double textWidth);
// The rule under the page header: 10 from the top of the sheet, or 7 into the printable area
// when its unprintable strip is wider than 5.
double HeaderRuleY(double offsetY);
// Where a list's headings go, from the sheet's top: at `top`, or 1 below the header rule when a
// wide unprintable strip has pushed the rule that far down.
double ListHeadingTop(double top, double offsetY);

// Whether a row `height` high starting at `y` must go to the next page first.
bool RowNeedsNewPage(double y, double height, double bottom);

// A row's cells: "|" separates like a tab; spaces around each cell are dropped.
std::vector<std::string> SplitRowCells(std::string_view row);
// A heading or width list: "," separates, and so do "|" and tab.
std::vector<std::string> SplitListText(std::string_view text);

// The date of the page header, "dd/mm/yyyy".
std::string PrintDateText(int year, int month, int day);

// The print-queue name of a document, "ZPRINT" + 100..999 + ".TMP", from a number 0..899.
std::string PrintDocumentName(int draw);

// A list control's columns as a list job's headings and widths: each pixel width times `scale`,
// to the nearest whole millimetre; the columns end at the first of width 0.
struct ListColumnsText {
    std::string headings;
    std::string widths;
    int count = 0;
};
ListColumnsText ListColumnsForPrint(const std::vector<std::string>& titles,
                                    const std::vector<int>& pixelWidths, double scale);
