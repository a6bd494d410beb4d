#include "platform/qt/report_list.h"

#include <QColor>

#include <QHeaderView>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>

#include "base/byte_scan.h"
#include "base/text.h"
#include "platform/column_sort.h"
#include "platform/dialogs.h"
#include "platform/qt/controls.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/program_window.h"

namespace {

std::string_view CellOf(std::string_view row, int column) {
    std::size_t start = 0;
    for (int c = 0; c < column; ++c) {
        const std::size_t lf = row.find('\n', start);
        if (lf == std::string_view::npos) return {};
        start = lf + 1;
    }
    return row.substr(start, row.find('\n', start) - start);
}

// A cell's sort key. Its first 16 bytes are held as two big-endian numbers, zero-padded, so that
// most comparisons of a long list end in an integer compare; the whole key sits in a buffer
// shared by all rows.
struct KeyedRow {
    std::uint64_t head[2];
    std::uint32_t at;
    std::uint32_t size;
    int row;
};

constexpr std::size_t KeyHeadBytes = 16;

// After a sort the rows lie in the buffer in another order than on view: a pass over them asks
// for the row this far ahead early, so that its read overlaps the work on the rows before it.
constexpr std::size_t RowsAhead = 8;

// Orders keys as their bytes compare (unsigned, a prefix first), like std::string::compare. A
// zero byte of padding can only tie the heads where the longer key goes on with a zero byte, and
// the lengths then decide as they should.
int CompareKeys(const std::string& keys, const KeyedRow& a, const KeyedRow& b) {
    for (int i = 0; i < 2; ++i) {
        if (a.head[i] != b.head[i]) return a.head[i] < b.head[i] ? -1 : 1;
    }
    const std::size_t common = std::min(a.size, b.size);
    if (common > KeyHeadBytes) {
        const int order = std::memcmp(keys.data() + a.at + KeyHeadBytes,
                                      keys.data() + b.at + KeyHeadBytes, common - KeyHeadBytes);
        if (order != 0) return order;
    }
    return a.size == b.size ? 0 : (a.size < b.size ? -1 : 1);
}

// The order of the rows by their keys; rows with equal keys keep their order in either direction,
// as a stable sort would leave them.
template <typename CellAt, typename KeyInto>
std::vector<int> KeyedOrder(std::size_t count, CellAt cellAt, bool ascending, KeyInto keyInto) {
    std::vector<KeyedRow> keyed(count);
    std::string keys;
    std::string key;
    for (std::size_t i = 0; i < count; ++i) {
        keyInto(cellAt(i), key);
        keyed[i] = {{BigEndianAt(key, 0, 0), BigEndianAt(key, 8, 0)},
                    static_cast<std::uint32_t>(keys.size()),
                    static_cast<std::uint32_t>(key.size()),
                    static_cast<int>(i)};
        keys += key;
    }
    std::sort(keyed.begin(), keyed.end(), [&](const KeyedRow& a, const KeyedRow& b) {
        const int order = CompareKeys(keys, a, b);
        if (order != 0) return ascending ? order < 0 : order > 0;
        return a.row < b.row;
    });
    std::vector<int> order(count);
    for (std::size_t i = 0; i < count; ++i)
        order[i] = keyed[i].row;
    return order;
}

// The stable order of the rows under a three-way comparison of row indices.
template <typename Compare>
std::vector<int> SortedOrder(std::size_t count, bool ascending, Compare compare) {
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int result = compare(a, b);
        return ascending ? result < 0 : result > 0;
    });
    return order;
}

}  // namespace

int ReportRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

int ReportRows::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headings.size());
}

QVariant ReportRows::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Count()) return {};
    if (role == Qt::ForegroundRole) {
        if (greyedBy < 0 || CellOf(Row(index.row()), greyedBy).empty()) return {};
        return QColor(Qt::gray);
    }
    if (role != Qt::DisplayRole && !(role == Qt::ToolTipRole && cellTips)) return {};
    const std::string_view cell = CellOf(Row(index.row()), index.column());
    if (utf8) return QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
    return ToDisplay(cell);
}

QVariant ReportRows::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(headings.size())) {
        return {};
    }
    return ToDisplay(headings[static_cast<std::size_t>(section)]);
}

void ReportRows::AddColumn(const std::string& heading) {
    const int column = static_cast<int>(headings.size());
    beginInsertColumns({}, column, column);
    headings.push_back(heading);
    endInsertColumns();
}

void ReportRows::Append(std::string_view row) {
    const RowText added{text_.size(), row.size()};
    text_ += row;
    if (holding_) {
        pending_.push_back(added);
        return;
    }
    beginInsertRows({}, Count(), Count());
    rows_.push_back(added);
    endInsertRows();
}

void ReportRows::Clear() {
    beginResetModel();
    rows_.clear();
    pending_.clear();
    text_.clear();
    endResetModel();
}

void ReportRows::HoldBack(bool on) {
    if (!on) Release();
    holding_ = on;
}

void ReportRows::Release() {
    if (pending_.empty()) return;
    const int first = Count();
    beginInsertRows({}, first, first + static_cast<int>(pending_.size()) - 1);
    if (rows_.empty()) {
        rows_.swap(pending_);
    } else {
        rows_.insert(rows_.end(), pending_.begin(), pending_.end());
    }
    pending_.clear();
    endInsertRows();
}

void ReportRows::Reorder(const std::vector<int>& order) {
    std::vector<RowText> sorted;
    sorted.reserve(rows_.size());
    for (const int old : order)
        sorted.push_back(rows_[static_cast<std::size_t>(old)]);
    beginResetModel();
    rows_ = std::move(sorted);
    endResetModel();
}

ReportList::ReportList(QWidget* parent) : QTreeView(parent), rows_(new ReportRows(this)) {
    setModel(rows_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);  // lets the view skip measuring every row of a long list
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setTextElideMode(Qt::ElideRight);
    header()->setSortIndicatorShown(false);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // The selection stays visible when the list loses the focus.
    QPalette colours = palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    }
    setPalette(colours);

    // During a long operation only the progress window's Cancel is acted upon; a heading click
    // there would also sort rows that the operation is still changing.
    connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (!LettingWindowEventsThrough()) SortByHeading(column);
    });
}

void ReportList::SortByHeading(int column) {
    if (!sortEnabled || column < 0 || column >= rows_->columnCount()) return;
    // Part of the rows may still be held back; sorting only those on view would leave the rest
    // to be appended out of order. The click is not taken, so the direction rule is not advanced.
    if (bulkUpdate) return;
    const bool ascending = sortState.NextSortAscending(column);
    const ColumnSortKind kind = sortState.Kind(column);
    const std::size_t count = static_cast<std::size_t>(rows_->Count());

    // Each cell is read and keyed once, not once per comparison, and in a single pass: a row
    // read again after a pass over a long list would come from memory again.
    const auto cellAt = [&](std::size_t i) {
        if (i + RowsAhead < count) rows_->Prefetch(static_cast<int>(i + RowsAhead));
        return CellOf(rows_->Row(static_cast<int>(i)), column);
    };
    std::vector<int> order;
    const CustomSortKey key = sortState.CustomKey();
    if (kind == ColumnSortKind::Number) {
        std::vector<std::int64_t> numbers(count);
        for (std::size_t i = 0; i < count; ++i)
            numbers[i] = ReadWholeNumber(cellAt(i));
        order = SortedOrder(count, ascending, [&](int a, int b) {
            return numbers[a] < numbers[b] ? -1 : (numbers[a] > numbers[b] ? 1 : 0);
        });
    } else if (kind == ColumnSortKind::Custom && key) {
        order = KeyedOrder(count, cellAt, ascending, key);
    } else if (kind == ColumnSortKind::Text) {
        // CompareIgnoreCase's order is the byte order of the cells folded to lower case.
        order =
            KeyedOrder(count, cellAt, ascending, [](std::string_view cell, std::string& folded) {
                folded.resize(cell.size());
                std::transform(cell.begin(), cell.end(), folded.begin(), LowerAsciiChar);
            });
    } else {
        std::vector<std::string_view> cells(count);
        for (std::size_t i = 0; i < count; ++i)
            cells[i] = cellAt(i);
        order = SortedOrder(count, ascending, [&](int a, int b) {
            return CompareCells(kind, cells[a], cells[b], sortState.Custom());
        });
    }

    std::vector<bool> wasSelected(count, false);
    for (const int row : SelectedListRows(this))
        wasSelected[static_cast<std::size_t>(row)] = true;
    rows_->Reorder(order);
    std::vector<int> selected;
    for (std::size_t i = 0; i < count; ++i) {
        if (wasSelected[static_cast<std::size_t>(order[i])])
            selected.push_back(static_cast<int>(i));
    }
    SelectListRows(this, selected);
}

ReportList* AddReportList(int window, int control, int x, int y, int width, int height) {
    ProgramWindow* owner = ProgramWindowById(window);
    if (!owner) return nullptr;
    auto* list = new ReportList(owner->Content());
    PlaceControl(list, control, x, y, width, height);
    QObject::connect(list, &QAbstractItemView::doubleClicked, [control](const QModelIndex&) {
        QueueWindowEvent({control, EventDoubleClick});
    });
    return list;
}

void AddListColumn(ReportList* list, const std::string& heading, int width) {
    list->Rows()->AddColumn(heading);
    list->header()->resizeSection(list->Rows()->columnCount() - 1, width);
}

void AddListRow(ReportList* list, std::string_view row) {
    list->Rows()->Append(row);
}

void ClearList(ReportList* list) {
    list->Rows()->Clear();
}

int ListRowCount(const ReportList* list) {
    return list->Rows()->Count();
}

std::string ListCell(const ReportList* list, int row, int column) {
    if (row < 0 || row >= list->Rows()->Count()) return {};
    return std::string(CellOf(list->Rows()->Row(row), column));
}

std::vector<int> SelectedListRows(const ReportList* list) {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : list->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void SelectListRows(ReportList* list, const std::vector<int>& rows) {
    QItemSelection selection;
    const int lastColumn = std::max(0, list->Rows()->columnCount() - 1);
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;  // one range per run
        selection.select(list->Rows()->index(rows[i], 0), list->Rows()->index(rows[j], lastColumn));
        i = j + 1;
    }
    list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

bool EnableColumnSort(ReportList* list) {
    if (!list) return false;
    list->sortEnabled = true;
    list->sortState = ColumnSortState{};
    return true;
}

void SetColumnSortKind(ReportList* list, int column, ColumnSortKind kind) {
    if (list && list->sortEnabled) list->sortState.SetKind(column, kind);
}

void SetCustomColumnSort(ReportList* list, CustomCompare compare, CustomSortKey key) {
    if (list && list->sortEnabled) list->sortState.SetCustom(compare, key);
}

void BeginBulkUpdate(ReportList* list) {
    list->bulkUpdate = true;
    list->Rows()->HoldBack(true);
}

void ShowAddedRows(ReportList* list) {
    list->Rows()->Release();
}

void EndBulkUpdate(ReportList* list) {
    list->Rows()->HoldBack(false);
    list->bulkUpdate = false;
}
