#include "maintenance/desktop/about_dialog.h"

#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <string>

#include "platform/dialogs.h"
#include "platform/qt/controls.h"
#include "platform/qt/fonts.h"

namespace {

constexpr int DialogWidth = 320;
constexpr int DialogHeight = 170;

}  // namespace

void ShowAbout(const std::string& booklistVersion) {
    if (!OpenDialogWindow(AboutWindowNumber, "About TUL Tallyleaf", DialogWidth, DialogHeight,
                          "")) {
        return;
    }
    const std::string lines[] = {
        "Readvane",
        "Tallyleaf",
        "Version " + booklistVersion,
        // The program's own, as `tallyleaf --version` gives it; the line above is the booklist's.
        std::string("Program version ") + TALLYLEAF_VERSION,
        "Written by the Tallyleaf developers",
        "Free for use in Readvane schools",
    };
    int y = 12;
    int control = AboutFirstLineControl;
    for (const std::string& text : lines) {
        QLabel* line = AddLabel(AboutWindowNumber, control++, 0, y, DialogWidth - 8, 20, text);
        line->setFont(ProgramFonts().tahoma10);
        line->setAlignment(Qt::AlignCenter);
        y += 20;
    }
    QPushButton* close = AddButton(AboutWindowNumber, AboutCloseControl, (DialogWidth - 75) / 2,
                                   DialogHeight - 29, 75, 22, "Close");
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
        AddShortcut(AboutWindowNumber, QKeySequence(key), AboutCloseControl);
    close->setFocus();

    for (;;) {
        const int command = WaitDialogEvent().command;
        if (command == AboutCloseControl || command == CloseBoxCommand) break;
    }
    CloseDialogWindow();
}
