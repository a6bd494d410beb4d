#include "compare/desktop/compare_dialog.h"

#include <QCheckBox>
#include <QKeySequence>
#include <QPushButton>

#include "compare/comparison_outcome.h"
#include "compare/matching.h"
#include "platform/dialogs.h"
#include "platform/qt/controls.h"
#include "platform/qt/fonts.h"

namespace {

constexpr int DialogWidth = 430;
constexpr int DialogHeight = 300;

QCheckBox* AddOption(int control, int y, const char* text) {
    QCheckBox* box = AddCheckBox(CompareDialogNumber, control, 30, y, DialogWidth - 60, 40, text);
    box->setFont(ProgramFonts().arial12);
    box->setChecked(true);
    return box;
}

// Asks for the tagging options; false when the user cancels or closes the dialog.
bool AskTaggingOptions(TaggingOptions& options) {
    if (!OpenDialogWindow(CompareDialogNumber, "Compare Library Data", DialogWidth, DialogHeight,
                          "")) {
        return false;
    }
    QCheckBox* star =
        AddOption(TagTitlesControl, 40, "Tag items by adding * in front of titles (245 $a only)");
    QCheckBox* series =
        AddOption(TagSeriesControl, 86, "Tag items by adding TUL to Series (440 or 490)");
    const int buttonY = DialogHeight - 29;
    QPushButton* ok =
        AddButton(CompareDialogNumber, CompareOkControl, DialogWidth - 163, buttonY, 75, 22, "OK");
    AddButton(CompareDialogNumber, CompareCancelControl, DialogWidth - 82, buttonY, 75, 22,
              "Cancel");
    AddShortcut(CompareDialogNumber, QKeySequence(Qt::Key_Return), CompareOkControl);
    AddShortcut(CompareDialogNumber, QKeySequence(Qt::Key_Enter), CompareOkControl);
    AddShortcut(CompareDialogNumber, QKeySequence(Qt::Key_Escape), CompareCancelControl);
    ok->setDefault(true);
    ok->setFocus();

    int command = 0;
    // Ticking a box is reported too; only the buttons and the close box end the wait.
    while (command != CompareOkControl && command != CompareCancelControl &&
           command != CloseBoxCommand) {
        command = WaitDialogEvent().command;
    }
    options.TagTitlesWithStar = star->isChecked();
    options.TagSeriesWithLevel = series->isChecked();
    CloseDialogWindow();
    return command == CompareOkControl;
}

}  // namespace

bool ShowCompareDialog(Booklist& booklist, const DataFolder& folder, Services& services) {
    TaggingOptions options;
    if (!AskTaggingOptions(options)) return false;
    const std::string path = services.ChooseFile("Open file", "*.MRC", "MRC",
                                                 "MARC data file | *.MRC | All Files | * ||");
    if (path.size() < 3) return false;

    // The run works on a copy: when its results cannot all be put in place, the files keep the
    // earlier ones, and so does the list.
    Booklist compared = booklist;
    const ComparisonResult result = RunComparison(compared, folder, path, options, services);
    if (result.outputCreated && result.matchesSaved && result.reviewSaved)
        booklist = std::move(compared);
    ShowComparisonOutcome(folder, result, services);
    return true;
}
