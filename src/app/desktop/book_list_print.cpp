#include "app/desktop/book_list_print.h"

#include <QComboBox>

#include "app/desktop/book_list_view.h"
#include "app/desktop/main_window_ids.h"
#include "maintenance/export_writer.h"
#include "platform/qt/controls.h"
#include "print/desktop/print_window.h"
#include "print/list_print.h"

namespace {

std::string SelectorText(int control) {
    const auto* selector = ControlAs<QComboBox>(MainWindowNumber, control);
    return selector ? FromDisplay(selector->currentText()) : std::string();
}

}  // namespace

void PrintVisibleBookList(const DataFolder& folder, Services& services) {
    const std::string title =
        BookListPrintTitle(SelectorText(LevelSelectorControl), SelectorText(MatchSelectorControl),
                           SelectorText(CategorySelectorControl));
    // The rows are taken before the Print window opens, as the list shows them now.
    std::vector<std::string> rows(static_cast<std::size_t>(BookListRowCount()));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (int c = 0; c < BookListPrintColumns; ++c) {
            if (c > 0) rows[row] += '\t';
            rows[row] += BookListCell(static_cast<int>(row), c);
        }
    }
    PrintOnChosenPrinter(
        [&](int device) {
            return PrintBookList(device, title, static_cast<int>(rows.size()),
                                 [&](int row) { return rows[static_cast<std::size_t>(row)]; });
        },
        PdfFilePlaceIn(folder), services);
}
