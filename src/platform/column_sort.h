#pragma once
#include <array>
#include <string>
#include <string_view>

// The comparisons behind a click on a list heading, shared by every sortable list.

enum class ColumnSortKind { Text, Number, Custom };

// The comparator of a list's Custom columns: 1, -1 or 0.
using CustomCompare = int (*)(std::string_view, std::string_view);

// A sort key for Custom columns, for lists too long to call the comparator for every pair: the
// key of a cell is written once per sort into the string given, replacing what it held, and keys
// are compared byte by byte. It must order cells exactly as the comparator does
// (NormaliseKeyInto for CompareTitleKeys). nullptr: use the comparator.
using CustomSortKey = void (*)(std::string_view, std::string&);

// Text: letters folded to lower case, then byte values. Number: each cell read as a whole number.
// Custom: `custom` (cells compare equal when it is null).
int CompareCells(ColumnSortKind kind, std::string_view a, std::string_view b,
                 CustomCompare custom = nullptr);

// Per-list bookkeeping: the kind of each column and the direction rule. A click on a column other
// than the one sorted last sorts ascending; another click on the same column reverses it.
class ColumnSortState {
  public:
    static constexpr int MaxColumns = 256;

    void SetKind(int column, ColumnSortKind kind);
    ColumnSortKind Kind(int column) const;
    // How this list orders its Custom columns.
    void SetCustom(CustomCompare compare, CustomSortKey key) {
        customCompare_ = compare;
        customKey_ = key;
    }
    CustomCompare Custom() const { return customCompare_; }
    CustomSortKey CustomKey() const { return customKey_; }
    // Records a click on `column` and says whether this sort is ascending.
    bool NextSortAscending(int column);
    int LastColumn() const { return lastColumn_; }

  private:
    std::array<ColumnSortKind, MaxColumns> kinds_{};
    int lastColumn_ = -1;
    bool lastAscending_ = false;
    CustomCompare customCompare_ = nullptr;
    CustomSortKey customKey_ = nullptr;
};
