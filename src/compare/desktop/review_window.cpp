#include "compare/desktop/review_window.h"

#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "booklist/matches.h"
#include "compare/match_review.h"
#include "compare/match_takeback.h"
#include "platform/dialogs.h"
#include "platform/message.h"
#include "platform/qt/controls.h"
#include "platform/qt/display_text.h"
#include "platform/qt/report_list.h"
#include "print/desktop/list_control_print.h"

namespace {

constexpr const char* Title = "Review matches";
constexpr const char* DamagedText =
    "The review of the last comparison is damaged; run the comparison again.";
constexpr int WindowWidth = 980;
constexpr int WindowHeight = 640;
// Ten columns fit the printed page at a smaller scale than the window's.
constexpr double PrintScale = 0.15;

struct Column {
    const char* heading;
    int width;
};
constexpr Column Columns[] = {
    {"Check", 45},
    {"ID", 45},
    {"Booklist title", 160},
    {"Booklist author", 115},
    {"Catalogue title", 160},
    {"Catalogue author", 115},
    {"Matched by", 80},
    {"Call number", 75},
    {"Control number", 85},
    {"State", 70},
};
constexpr int StateColumn = 9;
// The row's number in the review, kept out of sight (and out of print) after the shown columns.
constexpr int NumberColumn = static_cast<int>(std::size(Columns));

// The list's cells are LF-separated.
std::string Cell(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

std::string RowText(const ReviewRow& row, int number) {
    // The review's texts are UTF-8, the booklist's and the catalogue's alike.
    const std::string cells[] = {
        NeedsCheck(row) ? "check" : "",
        row.id,
        row.bookTitle,
        row.bookAuthor,
        row.catalogueTitle,
        row.catalogueAuthor,
        MatchKindText(row.kind),
        row.callNumber,
        row.controlNumber,
        row.takenBack         ? "taken back"
        : row.rejectedEarlier ? "rejected earlier"
                              : "",
        std::to_string(number),
    };
    std::string text;
    for (const std::string& cell : cells)
        text += (&cell == cells ? "" : "\n") + Cell(cell);
    return text;
}

// The window lists the matches that stand: a row taken back keeps its number in the review but is
// a match no longer.
std::string Caption(const std::vector<ReviewRow>& rows) {
    const auto toCheck = std::count_if(rows.begin(), rows.end(), NeedsCheck);
    const auto standing =
        std::count_if(rows.begin(), rows.end(), [](const ReviewRow& row) { return Stands(row); });
    return std::to_string(standing) + (standing == 1 ? " match: " : " matches: ") +
           std::to_string(toCheck) + " to check";
}

// The rows to check first, then the other matches, then (when asked for) the rows taken back or
// rejected earlier, greyed; each group in catalogue order.
void FillList(ReportList* list, const std::vector<ReviewRow>& rows, bool showTakenBack) {
    ClearList(list);
    BeginBulkUpdate(list);
    for (const int group : {0, 1, 2}) {
        if (group == 2 && !showTakenBack) break;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int of = !Stands(rows[i]) ? 2 : NeedsCheck(rows[i]) ? 0 : 1;
            if (of == group) AddListRow(list, RowText(rows[i], static_cast<int>(i) + 1));
        }
    }
    EndBulkUpdate(list);
    if (ListRowCount(list) > 0) SelectListRows(list, {0});
}

ReportList* AddReviewList() {
    ReportList* list = AddReportList(ReviewWindowNumber, ReviewListControl, 15, 35,
                                     WindowWidth - 30, WindowHeight - 80);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->Rows()->utf8 = true;
    list->Rows()->cellTips = true;
    list->Rows()->greyedBy = StateColumn;
    for (const Column& column : Columns)
        AddListColumn(list, column.heading, column.width);
    AddListColumn(list, "", 0);
    list->setColumnHidden(NumberColumn, true);
    EnableColumnSort(list);
    return list;
}

std::vector<int> SelectedNumbers(const ReportList* list) {
    std::vector<int> numbers;
    for (const int row : SelectedListRows(list))
        numbers.push_back(static_cast<int>(ReadWholeNumber(ListCell(list, row, NumberColumn))));
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

}  // namespace

bool ShowMatchReview(Booklist& booklist, const DataFolder& folder, const PdfFilePlace& pdf,
                     Services& services) {
    const MatchReviewFile review = ReadMatchReview(folder);
    if (review.state == MatchReviewFile::State::Damaged) {
        services.ShowMessage(Title, DamagedText, MessageButtons::Ok, MessageIcon::Exclamation);
        return false;
    }
    if (review.run && !ResultsOfRun(folder, *review.run)) {
        services.ShowMessage(Title, MixedRunsText, MessageButtons::Ok, MessageIcon::Exclamation);
        return false;
    }
    // The run whose rows the window shows: another copy of the program may take matches back
    // while it is open, and the numbers then name other rows.
    std::string shownRun = review.run ? review.run->stamp : std::string();
    std::optional<std::vector<ReviewRow>> rows;
    if (review.state == MatchReviewFile::State::Read) rows = review.rows;
    if (!rows) {
        services.ShowMessage(Title,
                             "A comparison has not been run yet, so there are no matches to "
                             "review.\r\nCompare (F5) compares the booklist with the catalogue.",
                             MessageButtons::Ok, MessageIcon::Information);
        return false;
    }
    const int w = WindowWidth;
    const int h = WindowHeight;
    if (!OpenDialogWindow(ReviewWindowNumber, Title, w, h, "")) return false;
    AddButton(ReviewWindowNumber, ReviewCloseControl, w - 82, h - 29, 75, 22, "Close");
    AddButton(ReviewWindowNumber, ReviewPrintControl, w - 163, h - 29, 75, 22, "Print");
    AddButton(ReviewWindowNumber, ReviewNotMatchControl, 15, h - 29, 90, 22, "Not a match",
              "Take back the matches of the selected rows");
    AddButton(ReviewWindowNumber, ReviewMatchAgainControl, 110, h - 29, 90, 22, "Match again",
              "Let the selected rows taken back match again at the next comparison");
    QCheckBox* showTakenBack = AddCheckBox(ReviewWindowNumber, ReviewShowTakenBackControl, 215,
                                           h - 29, 160, 22, "Show taken back");
    AddShortcut(ReviewWindowNumber, QKeySequence(Qt::Key_Escape), ReviewCloseControl);
    std::string caption = Caption(*rows);
    AddLabel(ReviewWindowNumber, ReviewCaptionControl, 15, 10, w - 30, 20, caption);
    ReportList* list = AddReviewList();
    FillList(list, *rows, false);
    list->setFocus();

    // Shows the review as it now is on disk.
    const auto readAgain = [&] {
        const MatchReviewFile now = ReadMatchReview(folder);
        shownRun = now.run ? now.run->stamp : std::string();
        rows = now.rows;
        caption = Caption(*rows);
        if (auto* label = ControlAs<QLabel>(ReviewWindowNumber, ReviewCaptionControl))
            label->setText(ToDisplay(caption));
        FillList(list, *rows, showTakenBack->isChecked());
    };
    bool changed = false;
    for (;;) {
        const DialogEvent event = WaitDialogEvent();
        if (event.command == CloseBoxCommand || event.command == ReviewCloseControl) break;
        if (event.command == ReviewShowTakenBackControl)
            FillList(list, *rows, showTakenBack->isChecked());
        if (event.command == ReviewMatchAgainControl) {
            std::string said;
            int forgotten = 0;
            for (const int number : SelectedNumbers(list)) {
                const TakeBackResult undone = ForgetRejection(folder, number);
                forgotten += undone.done;
                if (!undone) said = undone.reason;
            }
            if (forgotten > 0) {
                services.ShowMessage(Title,
                                     forgotten == 1 ? "The pair may match again at the next "
                                                      "comparison."
                                                    : std::to_string(forgotten) +
                                                          " pairs may match again at the next "
                                                          "comparison.",
                                     MessageButtons::Ok, MessageIcon::Information);
            } else if (!said.empty()) {
                services.ShowMessage(Title, "Nothing to match again: " + said + ".",
                                     MessageButtons::Ok, MessageIcon::Exclamation);
            }
            list->setFocus();
        }
        if (event.command == ReviewPrintControl) {
            PrintListControl(list, caption, PrintScale, pdf, services);
            list->setFocus();
        }
        if (event.command == ReviewNotMatchControl) {
            std::vector<int> numbers = SelectedNumbers(list);
            // Rows taken back or rejected earlier are no matches to take back.
            std::erase_if(numbers, [&](int number) {
                return !Stands((*rows)[static_cast<std::size_t>(number) - 1]);
            });
            if (numbers.empty()) continue;
            const std::string what = numbers.size() == 1
                                         ? "the selected match"
                                         : std::to_string(numbers.size()) + " selected matches";
            if (services.ShowMessage(Title,
                                     "Take back " + what +
                                         "? Each record is taken out of OUTPUT.MRC and no "
                                         "longer counts as a match of its book.",
                                     MessageButtons::YesNo, MessageIcon::Question,
                                     2) != MessageAnswer::Yes) {
                continue;
            }
            const MatchReviewFile now = ReadMatchReview(folder);
            if ((now.run ? now.run->stamp : std::string()) != shownRun ||
                now.state != MatchReviewFile::State::Read) {
                services.ShowMessage(Title,
                                     "The matches have changed since this list was shown; it has "
                                     "been read again.",
                                     MessageButtons::Ok, MessageIcon::Exclamation);
                readAgain();
                // The matches the main list shows are older than the files: read them again.
                booklist.ClearAllMatches();
                LoadMatches(folder, booklist);
                changed = true;
                list->setFocus();
                continue;
            }
            if (const TakeBackResult result = TakeBackMatches(booklist, folder, numbers, services);
                !result) {
                services.ShowMessage(Title, result.damaged ? DamagedText : result.reason,
                                     MessageButtons::Ok, MessageIcon::Exclamation);
            } else {
                changed = true;
                readAgain();
            }
            list->setFocus();
        }
    }
    CloseDialogWindow();
    return changed;
}
