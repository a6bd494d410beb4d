#include "compare/desktop/compare_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>

#include "compare/call_number_setting.h"
#include "compare/comparison_outcome.h"
#include "compare/matching.h"
#include "platform/dialogs.h"
#include "platform/qt/controls.h"
#include "platform/qt/display_text.h"
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

// The drop-down's entries, in the order of CallNumberOrder.
constexpr const char* CallNumberChoices[] = {"082, then the library's own fields",
                                             "The library's own fields, then 082", "082 only"};

// Asks for the tagging options and where call numbers come from, which starts as `order`; false
// when the user cancels or closes the dialog.
bool AskTaggingOptions(TaggingOptions& options, CallNumberOrder& order, bool& matchByIsbn) {
    if (!OpenDialogWindow(CompareDialogNumber, "Compare Library Data", DialogWidth, DialogHeight,
                          "")) {
        return false;
    }
    QCheckBox* star =
        AddOption(TagTitlesControl, 40, "Tag items by adding * in front of titles (245 $a only)");
    QCheckBox* series =
        AddOption(TagSeriesControl, 86, "Tag items by adding TUL to Series (440 or 490)");
    QCheckBox* isbn = AddOption(MatchByIsbnControl, 132, "Also match by ISBN (020)");
    AddLabel(CompareDialogNumber, CallNumberLabelControl, 30, 186, DialogWidth - 60, 20,
             "Call number from")
        ->setFont(ProgramFonts().arial12);
    QComboBox* callNumbers =
        AddSelector(CompareDialogNumber, CallNumberControl, 30, 208, DialogWidth - 60, 26);
    for (const char* choice : CallNumberChoices)
        callNumbers->addItem(ToDisplay(choice));
    callNumbers->setCurrentIndex(static_cast<int>(order));
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
    matchByIsbn = isbn->isChecked();
    order = static_cast<CallNumberOrder>(callNumbers->currentIndex());
    CloseDialogWindow();
    return command == CompareOkControl;
}

}  // namespace

bool ShowCompareDialog(Booklist& booklist, const DataFolder& folder, Services& services) {
    TaggingOptions options;
    const CallNumberOrder remembered = LoadCallNumberOrder(folder);
    CallNumberOrder order = remembered;
    bool matchByIsbn = true;
    if (!AskTaggingOptions(options, order, matchByIsbn)) return false;
    // Remembered on OK, even when no file is chosen next: the choice was confirmed. A choice that
    // cannot be saved still holds for this run.
    if (order != remembered) SaveCallNumberOrder(folder, order);
    // ISO 2709 exports end in .mrc or .marc, MARCXML ones in .xml; the reading tells them apart.
    const std::string path = services.ChooseFile(
        "Open file", "*.MRC", "MRC", "MARC files | *.mrc;*.marc;*.xml | All Files | * ||");
    if (path.size() < 3) return false;

    // The run works on a copy: when its results cannot all be put in place, the files keep the
    // earlier ones, and so does the list.
    Booklist compared = booklist;
    const ComparisonResult result =
        RunComparison(compared, folder, path, {options, order, matchByIsbn}, services);
    if (result.outputCreated && result.matchesSaved && result.reviewSaved)
        booklist = std::move(compared);
    ShowComparisonOutcome(folder, result, services);
    return true;
}
