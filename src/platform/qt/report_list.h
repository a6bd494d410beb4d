#pragma once
#include <QAbstractTableModel>
#include <QTreeView>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/column_sort.h"

// A multi-column report list: headings, full-row and multiple selection that stays visible when the
// list loses the focus, a double-click reported as EventDoubleClick. Rows are handed over as their
// column texts joined by LF and kept as such; only the rows on screen are ever turned into display
// text, so a list of a hundred thousand rows fills and sorts in a fraction of a second.

class ReportRows : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void AddColumn(const std::string& heading);
    void Append(std::string_view row);
    void Clear();
    // Rows appended while held back reach the view only at the next Release.
    void HoldBack(bool on);
    void Release();
    // Reorders the rows on view by `order` (new position -> old position); rows still held back
    // stay held back.
    void Reorder(const std::vector<int>& order);

    int Count() const { return static_cast<int>(rows_.size()); }
    std::string_view Row(int row) const {
        const RowText& text = rows_[static_cast<std::size_t>(row)];
        return std::string_view(text_).substr(text.at, text.size);
    }
    // Asks for a row's text to be brought into the cache ahead of a pass that reads it.
    void Prefetch(int row) const {
        __builtin_prefetch(text_.data() + rows_[static_cast<std::size_t>(row)].at);
    }
    std::vector<std::string> headings;
    // The cells are UTF-8 rather than Windows-1252: a list mixing catalogue and booklist text.
    bool utf8 = false;
    // Each cell's whole text as its tooltip, for cells cut by their column's width.
    bool cellTips = false;
    // Rows whose cell in this column is not empty are shown greyed; -1 for none.
    int greyedBy = -1;

  private:
    // A row's place in text_. A long list is one buffer rather than a string a row: filling,
    // reordering and clearing it then cost no allocation per row.
    struct RowText {
        std::size_t at;
        std::size_t size;
    };
    std::string text_;
    std::vector<RowText> rows_;
    std::vector<RowText> pending_;
    bool holding_ = false;
};

class ReportList : public QTreeView {
    Q_OBJECT
  public:
    explicit ReportList(QWidget* parent);

    ReportRows* Rows() const { return rows_; }
    ColumnSortState sortState;
    bool sortEnabled = false;
    bool bulkUpdate = false;

    // Sorts the rows as a click on the heading of `column` does.
    void SortByHeading(int column);

  private:
    ReportRows* rows_;
};

// Creates a report list in the window, with its number and font.
ReportList* AddReportList(int window, int control, int x, int y, int width, int height);
void AddListColumn(ReportList* list, const std::string& heading, int width);
// A row as its column texts joined by LF.
void AddListRow(ReportList* list, std::string_view row);
void ClearList(ReportList* list);
int ListRowCount(const ReportList* list);
// The text of one cell, rows from 0 in display order; empty outside the list.
std::string ListCell(const ReportList* list, int row, int column);
// The rows selected, in display order.
std::vector<int> SelectedListRows(const ReportList* list);
void SelectListRows(ReportList* list, const std::vector<int>& rows);

// Column sorting by heading clicks, without sort arrows. Every column starts as Text.
bool EnableColumnSort(ReportList* list);
void SetColumnSortKind(ReportList* list, int column, ColumnSortKind kind);
// How the list's Custom columns are ordered.
void SetCustomColumnSort(ReportList* list, CustomCompare compare, CustomSortKey key);
// Bracket a bulk change of the rows: rows added in between reach the view together (or whenever
// ShowAddedRows is called). Heading clicks in between are not carried out; the next one after
// EndBulkUpdate sorts every row there is.
void BeginBulkUpdate(ReportList* list);
void ShowAddedRows(ReportList* list);
void EndBulkUpdate(ReportList* list);
