#include "print/desktop/list_control_print.h"

#include <QHeaderView>
#include <algorithm>

#include "platform/qt/display_text.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/report_list.h"
#include "print/desktop/print_window.h"
#include "print/list_print.h"
#include "print/page.h"
#include "print/page_layout.h"

void PrintListControl(ReportList* list, const std::string& title, double scale,
                      const PdfFilePlace& pdf, Services& services) {
    if (!list) return;
    std::vector<std::string> titles;
    std::vector<int> widths;
    const int columns = list->Rows()->columnCount();
    for (int c = 0; c < columns; ++c) {
        titles.push_back(c < static_cast<int>(list->Rows()->headings.size())
                             ? list->Rows()->headings[static_cast<std::size_t>(c)]
                             : std::string());
        widths.push_back(list->header()->isSectionHidden(c) ? 0 : list->header()->sectionSize(c));
    }
    const ListColumnsText printed = ListColumnsForPrint(titles, widths, scale);

    PrintOnChosenPrinter(
        [&](int device) {
            SetListMargins(10, 0, 15);
            if (BeginListPrint(title, printed.headings, printed.widths, 0, device) == 0)
                return false;
            // The window under the closed Print window repaints before the rows are sent.
            LetWindowEventsThrough();
            // Printing takes Windows-1252, so a UTF-8 list's cells are encoded as such.
            const auto cellAt = [list](int r, int c) {
                std::string cell = ListCell(list, r, c);
                return list->Rows()->utf8 ? FromDisplay(QString::fromUtf8(cell)) : cell;
            };
            for (int r = 0; r < ListRowCount(list); ++r) {
                std::string text = cellAt(r, 0);
                for (int c = 1; c < printed.count; ++c) {
                    std::string cell = cellAt(r, c);
                    std::replace(cell.begin(), cell.end(), '|', ' ');
                    text += '\t' + cell;
                }
                PrintRow(text);
            }
            const bool ended = EndJob();
            LetWindowEventsThrough();
            return ended;
        },
        pdf, services);
}
