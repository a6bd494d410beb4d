#include "print/desktop/book_list_print.h"

#include <QComboBox>

#include "app/desktop/book_list_view.h"
#include "app/desktop/main_window_ids.h"
#include "platform/qt/controls.h"
#include "print/list_print.h"

namespace {

std::string SelectorText(int control) {
    const auto* selector = ControlAs<QComboBox>(MainWindowNumber, control);
    return selector ? FromDisplay(selector->currentText()) : std::string();
}

}  // namespace

void PrintVisibleBookList() {
    const std::string title =
        BookListPrintTitle(SelectorText(LevelSelectorControl), SelectorText(MatchSelectorControl),
                           SelectorText(CategorySelectorControl));
    PrintBookList(title, BookListRowCount(), [](int row) {
        std::string text;
        for (int c = 0; c < BookListPrintColumns; ++c) {
            if (c > 0) text += '\t';
            text += BookListCell(row, c);
        }
        return text;
    });
}
