#include "app/desktop/book_list_view.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <chrono>

#include "app/count_caption.h"
#include "app/desktop/main_window_ids.h"
#include "app/list_rows.h"
#include "base/text.h"
#include "booklist/keys.h"
#include "platform/column_sort.h"
#include "platform/qt/controls.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/fonts.h"
#include "platform/qt/report_list.h"

namespace {

using Clock = std::chrono::steady_clock;

// During a long fill window events go through this often, not after every row. Handing the rows
// added so far to the view costs the view a pass over all its rows, so that is done less often.
constexpr auto FillEventInterval = std::chrono::milliseconds(8);
constexpr auto FillShowRowsInterval = std::chrono::milliseconds(50);

struct Column {
    const char* heading;
    int width;  // 0: what the other columns leave of the list's width
    ColumnSortKind kind;
};

constexpr Column Columns[] = {
    {"ID", 50, ColumnSortKind::Number},    {"Title", 0, ColumnSortKind::Custom},
    {"Author", 180, ColumnSortKind::Text}, {"Call number", 120, ColumnSortKind::Text},
    {"Level", 55, ColumnSortKind::Number}, {"Format", 150, ColumnSortKind::Text},
};
constexpr int FixedColumnsWidth = 578;  // the five fixed widths plus room for borders

QComboBox* Selector(int control) {
    return ControlAs<QComboBox>(MainWindowNumber, control);
}

void AddEntries(QComboBox* selector, const std::string& first,
                const std::vector<std::string>& names) {
    selector->clear();
    selector->addItem(ToDisplay(first));
    // The names travel joined by "~", so a "~" inside a name makes two entries.
    for (const std::string& name : names) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t tilde = name.find('~', start);
            selector->addItem(ToDisplay(name.substr(start, tilde - start)));
            if (tilde == std::string::npos) break;
            start = tilde + 1;
        }
    }
}

void SetCountCaption(const std::string& text) {
    if (auto* caption = ControlAs<QLabel>(MainWindowNumber, CountCaptionControl)) {
        caption->setText(ToDisplay(text));
    }
}

}  // namespace

ReportList* CreateBookList(int x, int y, int width, int height) {
    ReportList* list = AddReportList(MainWindowNumber, BookListControl, x, y, width, height);
    if (!list) return nullptr;
    list->setFont(ProgramFonts().arial10);
    list->setAccessibleName(QStringLiteral("Book list"));
    for (const Column& column : Columns) {
        AddListColumn(list, column.heading,
                      column.width ? column.width : width - FixedColumnsWidth);
    }
    if (EnableColumnSort(list)) {
        for (int c = 0; c < static_cast<int>(std::size(Columns)); ++c) {
            SetColumnSortKind(list, c, Columns[c].kind);
        }
        SetCustomColumnSort(list, CompareTitleKeys, NormaliseKeyInto);
    }
    return list;
}

ReportList* MainBookList() {
    return ControlAs<ReportList>(MainWindowNumber, BookListControl);
}

void SetBookListTitleWidth(int listWidth) {
    if (ReportList* list = MainBookList())
        list->header()->resizeSection(1, std::max(50, listWidth - FixedColumnsWidth));
}

void FillSelectors(const Booklist& booklist) {
    if (QComboBox* category = Selector(CategorySelectorControl)) {
        AddEntries(category, AllCategoriesText, booklist.Categories());
        category->setCurrentIndex(0);
    }
    if (QComboBox* format = Selector(FormatSelectorControl)) {
        AddEntries(format, AllFormatsText, booklist.Formats());
        format->setCurrentIndex(0);
    }
    if (QComboBox* level = Selector(LevelSelectorControl)) {
        level->clear();
        const LevelNameTable& levels = booklist.Levels();
        for (int i = 0; i <= levels.count; ++i)
            level->addItem(ToDisplay(levels.names[i]));
    }
}

std::size_t FillBookList(const Booklist& booklist, const FilterState& filters) {
    ReportList* list = MainBookList();
    if (!list) return 0;
    SetCountCaption("");
    LetWindowEventsThrough();

    if (QComboBox* match = Selector(MatchSelectorControl))
        match->setCurrentIndex(filters.matchFilter);
    if (QComboBox* level = Selector(LevelSelectorControl)) {
        level->setCurrentIndex(
            level->findText(ToDisplay(filters.levelFilter), Qt::MatchFixedString));
    }
    QComboBox* australian = Selector(AustralianSelectorControl);
    const int australianChoice =
        australian ? std::max(0, australian->currentIndex()) : AustralianAll;

    const StagedBookRows staged = StageBookRows(booklist, filters, australianChoice);
    SetCountCaption(CountCaption(staged.rows.size(), staged.rows.size()));

    ClearList(list);
    list->show();
    LetWindowEventsThrough();

    if (!staged.rows.empty()) {
        BeginBulkUpdate(list);
        Clock::time_point lastEvents = Clock::now();
        Clock::time_point lastShown = lastEvents;
        for (std::size_t i = 0; i < staged.rows.size(); ++i) {
            AddListRow(list, staged.Row(i));
            if ((i & 255) != 255) continue;
            const Clock::time_point now = Clock::now();
            if (now - lastEvents < FillEventInterval) continue;
            if (now - lastShown >= FillShowRowsInterval) {
                ShowAddedRows(list);
                lastShown = now;
            }
            LetWindowEventsThrough();
            lastEvents = Clock::now();
        }
        EndBulkUpdate(list);
    }
    return staged.rows.size();
}

void RemoveSelectedRows(std::size_t listed) {
    ReportList* list = MainBookList();
    if (!list || ListRowCount(list) == 0) return;
    const std::vector<int> selected = SelectedListRows(list);
    if (selected.empty()) return;
    BeginBulkUpdate(list);
    std::vector<std::string> kept;
    std::size_t next = 0;
    for (int row = 0; row < ListRowCount(list); ++row) {
        if (next < selected.size() && selected[next] == row) {
            ++next;
            continue;
        }
        kept.emplace_back(list->Rows()->Row(row));
    }
    ClearList(list);
    for (const std::string& row : kept)
        AddListRow(list, row);
    EndBulkUpdate(list);
    SetCountCaption(CountCaption(kept.size(), listed));
}

std::string BookListCurrentId() {
    const ReportList* list = MainBookList();
    return list && list->currentIndex().isValid() ? ListCell(list, list->currentIndex().row(), 0)
                                                  : std::string();
}

void FocusBookList(const std::string& id) {
    ReportList* list = MainBookList();
    if (!list) return;
    list->setFocus(Qt::OtherFocusReason);
    if (ListRowCount(list) == 0) return;
    int row = 0;
    for (int r = 0; !id.empty() && r < ListRowCount(list); ++r) {
        if (ListCell(list, r, 0) == id) {
            row = r;
            break;
        }
    }
    const QModelIndex index = list->model()->index(row, 0);
    // A row still selected keeps the selection; otherwise the row the focus lands on is chosen.
    const bool selected = list->selectionModel()->isRowSelected(row, {});
    list->selectionModel()->setCurrentIndex(
        index, selected ? QItemSelectionModel::NoUpdate
                        : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list->scrollTo(index);
}

int BookListRowCount() {
    return MainBookList() ? ListRowCount(MainBookList()) : 0;
}

std::string BookListCell(int row, int column) {
    return MainBookList() ? ListCell(MainBookList(), row, column) : std::string();
}

int BookListSelectedRow() {
    if (!MainBookList()) return -1;
    const std::vector<int> selected = SelectedListRows(MainBookList());
    return selected.empty() ? -1 : selected.front();
}
