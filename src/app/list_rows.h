#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/filter_state.h"
#include "booklist/book_record.h"
#include "booklist/booklist.h"

// What the main list shows, without a window: which entries pass the filters and in which order.

// Whether one packed entry passes the five filters, applied in their fixed order. The search is
// applied after them by StageBookList and StageBookRows.
bool PassesFilters(const PackedFields& entry, const FilterState& filters, int australianChoice);

// The packed lines of every entry of `booklist` that passes the filters and the search, ordered as
// the list shows them: by the author's first 100 characters (padded with spaces, letters compared
// without case), then by the packed line, which begins with the id as text. The views point into
// the booklist's table.
std::vector<std::string_view> StageBookList(const Booklist& booklist, const FilterState& filters,
                                            int australianChoice);

// The rows of the book list for these filters, as BookRowText gives them, in the order of
// StageBookList. Built in one pass over the table, while each line is at hand, into one buffer.
struct StagedBookRows {
    struct Span {
        std::size_t at;
        std::size_t size;
    };
    std::string text;        // every row's text, in no particular order
    std::vector<Span> rows;  // where each row of the list is in `text`

    std::string_view Row(std::size_t row) const {
        return std::string_view(text).substr(rows[row].at, rows[row].size);
    }
};
StagedBookRows StageBookRows(const Booklist& booklist, const FilterState& filters,
                             int australianChoice);

// Appends the text of an entry's row, given its packed line and its leading fields split.
using AppendRowText =
    std::function<void(std::string_view packed, PackedFields& fields, std::string& text)>;
// The rows `appendRow` makes of the entries that pass the filters and the search, in the order of
// StageBookList: each is made in the pass over the table, while its line is at hand, with at least
// its leading `fieldCount` fields split. Room for `rowBytes` bytes a row is made at once.
StagedBookRows StageRows(const Booklist& booklist, const FilterState& filters, int australianChoice,
                         int fieldCount, std::size_t rowBytes, const AppendRowText& appendRow);

// The level column's text for a band: "R-2", "3-5", "6-9" or "10-12".
std::string_view LevelColumnText(int levelBand);

// The book list's row of a packed entry: the six column texts (id, title, author, call number,
// level, format) joined by LF, taken straight from the line without unpacking every field.
std::string BookRowText(std::string_view packed);
