#include "maintenance/desktop/new_books_window.h"

#include <QKeySequence>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "maintenance/export_writer.h"
#include "maintenance/new_books.h"
#include "platform/dialogs.h"
#include "platform/qt/controls.h"
#include "platform/qt/report_list.h"
#include "print/desktop/list_control_print.h"

namespace {

constexpr int WindowHeight = 640;
constexpr double PrintScale = 0.23;

// Why the list could not be had, in a few words ("" when it could). A file too short to hold an
// id and its line end is what a failed download leaves.
std::string DownloadFailure(const std::string& path, const std::string& serverBaseUrl,
                            Services& services) {
    std::remove(path.c_str());
    const DownloadResult result =
        services.DownloadToFile(serverBaseUrl + NewBooksFileName, path, DownloadLimits{});
    if (!result) return result.reason.empty() ? "the download failed" : result.reason;
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error || static_cast<long long>(size) < NewBooksMinimumBytes) return "the list is empty";
    return {};
}

void ShowNotice(const std::string& text, Services& services) {
    services.ShowMessage("Notice", text, MessageButtons::Ok, MessageIcon::Information);
}

ReportList* AddNewBooksList(int height, const std::vector<std::string>& rows) {
    ReportList* list = AddReportList(NewBooksWindowNumber, NewBooksListControl, 15, 35,
                                     NewBooksColumnsWidth + 30, height - 90);
    // Nothing in this window acts on several books at once.
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const NewBooksColumn& column : NewBooksColumns)
        AddListColumn(list, column.heading, column.width);
    EnableColumnSort(list);
    BeginBulkUpdate(list);
    for (const std::string& row : rows)
        AddListRow(list, row);
    EndBulkUpdate(list);
    if (!rows.empty()) SelectListRows(list, {0});
    list->setFocus();
    return list;
}

}  // namespace

void ShowNewBooks(const Booklist& booklist, const DataFolder& folder, const ServerAddress& server,
                  Services& services) {
    if (server.baseUrl.empty()) {
        // An address that was set but cannot be used is named, so that it can be put right.
        ShowNotice(server.configured.empty()
                       ? "Unable to download file. No update server is set."
                       : "Unable to download file. The update server address " + server.configured +
                             " is not an http or https address.",
                   services);
        return;
    }
    const std::string path = folder.NewBooks();
    // The reason tells an encoded body, a size cap or a time limit from a proxy in the way.
    if (const std::string failure = DownloadFailure(path, server.baseUrl, services);
        !failure.empty()) {
        ShowNotice("Unable to download file: " + failure +
                       ".\r\nPlease make sure the proxy server allows access to " +
                       ServerHostName(server.baseUrl),
                   services);
        return;
    }
    const std::vector<std::string> rows = ReadNewBookRows(booklist, path);
    const std::string caption = NewBooksCaption(rows.size());

    const int w = NewBooksColumnsWidth + 70;
    const int h = WindowHeight;
    if (!OpenDialogWindow(NewBooksWindowNumber, "New books", w, h, "")) return;
    AddButton(NewBooksWindowNumber, NewBooksOkControl, w - 82, h - 29, 75, 22, "OK");
    AddButton(NewBooksWindowNumber, NewBooksPrintControl, w - 163, h - 29, 75, 22, "Print");
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
        AddShortcut(NewBooksWindowNumber, QKeySequence(key), NewBooksOkControl);
    AddLabel(NewBooksWindowNumber, NewBooksCaptionControl, 15, 10, w, 20, caption);
    ReportList* list = AddNewBooksList(h, rows);

    for (;;) {
        const DialogEvent event = WaitDialogEvent();
        if (event.command == CloseBoxCommand || event.command == NewBooksOkControl) break;
        if (event.command == NewBooksListControl && event.subtype == EventDoubleClick &&
            !SelectedListRows(list).empty()) {
            break;
        }
        if (event.command == NewBooksPrintControl) {
            PrintListControl(list, caption, PrintScale, PdfFilePlaceIn(folder), services);
            list->setFocus();
        }
    }
    CloseDialogWindow();
}
