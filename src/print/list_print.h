#pragma once
#include <functional>
#include <string>
#include <string_view>

// A list printed as a table: the page header (date, centred title, page number, rule), the
// column headings underlined, then one row per entry, each cell word-wrapped in its column; a row
// that does not fit on the page moves whole to the next one. Used as SetListMargins,
// BeginListPrint, PrintRow for each row, EndJob (print/page.h).

// Whole millimetres from the paper edges; 0 leaves the default (left 0, right 0, top 15).
void SetListMargins(int left, int right, int top);
// headings and widths are separated by "," (or "|" or tab). Prints on the opened printer
// `device`. The job handle, or 0 when nothing is to be printed (no device, or the document was
// refused).
int BeginListPrint(const std::string& title, const std::string& headings, const std::string& widths,
                   double firstPageY, int device);
// Cells separated by tab or "|"; an empty row prints nothing.
void PrintRow(const std::string& rowText);

// The main list as it is printed: its first five columns at these widths.
inline constexpr const char* BookListPrintHeadings = "ID,Title,Author,Call number,Level";
inline constexpr const char* BookListPrintWidths = "12,86,48,36,22";
inline constexpr int BookListPrintColumns = 5;

// The printout's title: the level, match and category selectors' texts, three spaces between.
std::string BookListPrintTitle(const std::string& level, const std::string& match,
                               const std::string& category);
// A list row (column texts joined by LF) as a printed row of its first `columns` columns.
std::string PrintedRowOf(std::string_view listRow, int columns);
// Prints `count` rows, given in order by `row`, under the book list's headings, on the opened
// printer `device`. False when nothing was printed: the document did not begin, or did not end
// (a spooler that did not take the job).
bool PrintBookList(int device, const std::string& title, int count,
                   const std::function<std::string(int)>& row);
