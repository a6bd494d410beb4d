#include "platform/column_sort.h"

#include "base/text.h"

int CompareCells(ColumnSortKind kind, std::string_view a, std::string_view b,
                 CustomCompare custom) {
    switch (kind) {
        case ColumnSortKind::Number: {
            const auto x = ReadWholeNumber(a);
            const auto y = ReadWholeNumber(b);
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        case ColumnSortKind::Custom:
            return custom ? custom(a, b) : 0;
        case ColumnSortKind::Text:
            break;
    }
    return CompareIgnoreCase(a, b);
}

void ColumnSortState::SetKind(int column, ColumnSortKind kind) {
    if (column >= 0 && column < MaxColumns) kinds_[column] = kind;
}

ColumnSortKind ColumnSortState::Kind(int column) const {
    return (column >= 0 && column < MaxColumns) ? kinds_[column] : ColumnSortKind::Text;
}

bool ColumnSortState::NextSortAscending(int column) {
    lastAscending_ = column == lastColumn_ ? !lastAscending_ : true;
    lastColumn_ = column;
    return lastAscending_;
}
