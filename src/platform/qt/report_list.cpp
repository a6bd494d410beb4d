#include "platform/qt/report_list.h"

#include <QHeaderView>
#include <algorithm>
#include <cstdint>
#include <numeric>

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

// The stable order of `count` items under a three-way comparison of item indices.
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
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= Count()) return {};
    const std::string_view cell = CellOf(Row(index.row()), index.column());
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

void ReportRows::Append(std::string row) {
    if (holding_) {
        pending_.push_back(std::move(row));
        return;
    }
    beginInsertRows({}, Count(), Count());
    rows_.push_back(std::move(row));
    endInsertRows();
}

void ReportRows::Clear() {
    beginResetModel();
    rows_.clear();
    pending_.clear();
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
        std::move(pending_.begin(), pending_.end(), std::back_inserter(rows_));
    }
    pending_.clear();
    endInsertRows();
}

void ReportRows::Replace(std::vector<std::string> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void ReportRows::Reorder(const std::vector<int>& order) {
    std::vector<std::string> sorted;
    sorted.reserve(rows_.size());
    for (const int old : order)
        sorted.push_back(std::move(rows_[static_cast<std::size_t>(old)]));
    Replace(std::move(sorted));
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

    std::vector<std::string_view> cells(count);
    for (std::size_t i = 0; i < count; ++i)
        cells[i] = CellOf(rows_->Row(static_cast<int>(i)), column);

    // Each cell is read or keyed once, not once per comparison.
    std::vector<int> order;
    const CustomSortKey key = CurrentCustomSortKey();
    if (kind == ColumnSortKind::Number) {
        std::vector<std::int64_t> numbers(count);
        for (std::size_t i = 0; i < count; ++i)
            numbers[i] = ReadWholeNumber(cells[i]);
        order = SortedOrder(count, ascending, [&](int a, int b) {
            return numbers[a] < numbers[b] ? -1 : (numbers[a] > numbers[b] ? 1 : 0);
        });
    } else if (kind == ColumnSortKind::Custom && key) {
        std::vector<std::string> keys(count);
        for (std::size_t i = 0; i < count; ++i)
            keys[i] = key(cells[i]);
        order =
            SortedOrder(count, ascending, [&](int a, int b) { return keys[a].compare(keys[b]); });
    } else {
        order = SortedOrder(count, ascending,
                            [&](int a, int b) { return CompareCells(kind, cells[a], cells[b]); });
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

void AddListRow(ReportList* list, std::string row) {
    list->Rows()->Append(std::move(row));
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
