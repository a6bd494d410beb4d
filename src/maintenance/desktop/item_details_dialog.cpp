#include "maintenance/desktop/item_details_dialog.h"

#include <QKeySequence>
#include <QLabel>
#include <QPushButton>

#include "booklist/booklist.h"
#include "maintenance/detail_rows.h"
#include "platform/dialogs.h"
#include "platform/qt/controls.h"
#include "platform/qt/fonts.h"
#include "platform/qt/program_window.h"

namespace {

constexpr int DialogWidth = 700;
constexpr int DialogHeight = 550;

// Rows are read-only text boxes with no numbers of their own: nothing in the window acts on them.
constexpr int RowControl = 0;

void SetBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel* AddRowText(int x, int y, int width, int height, const std::string& text,
                   Qt::Alignment alignment) {
    QLabel* label = AddLabel(ItemDetailsWindowNumber, RowControl, x, y, width, height, text);
    label->setFont(ProgramFonts().verdana10);
    label->setAlignment(alignment);
    return label;
}

}  // namespace

void ShowItemDetails(const Booklist& booklist, const std::string& idText) {
    const BookRecord record = booklist.LookupRecord(idText);

    if (!OpenDialogWindow(ItemDetailsWindowNumber, "Item Details", DialogWidth, DialogHeight, "")) {
        return;
    }
    SetBackground(ProgramWindowById(ItemDetailsWindowNumber)->Content(), QColor(224, 255, 255));
    for (const DetailRow& detail : LayOutDetailRows(record)) {
        AddRowText(DetailLabelX, detail.top + 1, DetailLabelWidth, DetailLabelHeight, detail.label,
                   Qt::AlignRight | Qt::AlignTop);
        QLabel* value = AddRowText(DetailValueX, detail.top, DetailValueWidth, detail.height,
                                   detail.value, Qt::AlignLeft | Qt::AlignTop);
        // Long values wrap; what does not fit the box is cut off at its bottom.
        value->setWordWrap(true);
    }
    QPushButton* ok = AddButton(ItemDetailsWindowNumber, ItemDetailsOkControl, DialogWidth - 82,
                                DialogHeight - 29, 75, 22, "OK");
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
        AddShortcut(ItemDetailsWindowNumber, QKeySequence(key), ItemDetailsOkControl);
    ok->setFocus();

    for (;;) {
        const int command = WaitDialogEvent().command;
        if (command == ItemDetailsOkControl || command == CloseBoxCommand) break;
    }
    CloseDialogWindow();
}
