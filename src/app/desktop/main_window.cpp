#include "app/desktop/main_window.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/data_folder_choice.h"
#include "app/desktop/book_list_print.h"
#include "app/desktop/book_list_view.h"
#include "app/desktop/main_window_ids.h"
#include "app/startup_constants.h"
#include "base/text.h"
#include "booklist/book_record.h"
#include "booklist/booklist.h"
#include "compare/desktop/compare_dialog.h"
#include "compare/desktop/review_window.h"
#include "maintenance/booklist_import.h"
#include "maintenance/booklist_update.h"
#include "maintenance/desktop/about_dialog.h"
#include "maintenance/desktop/export_dialog.h"
#include "maintenance/desktop/item_details_dialog.h"
#include "maintenance/desktop/new_books_window.h"
#include "maintenance/export_writer.h"
#include "platform/qt/controls.h"
#include "platform/qt/desktop_opener.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/find_field.h"
#include "platform/qt/fonts.h"
#include "platform/qt/program_window.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/report_list.h"
#include "platform/qt/resize_watch.h"

namespace {

// "&" marks a menu's access key (Alt+F opens File), a TAB the text of its shortcut column.
constexpr const char* FileMenuItems =
    "&Compare\tF5,151,&Review matches\tF6,153,&Update,143,&Export,152,-,&Print\tF7,101,-,"
    "Open data &folder,158,-,E&xit\tCtrl+Q,199";
constexpr const char* HelpMenuItems = "&Help\tF1,155,&About,156";

QComboBox* Selector(int control) {
    return ControlAs<QComboBox>(MainWindowNumber, control);
}

std::string SelectorText(int control) {
    const QComboBox* selector = Selector(control);
    return selector ? FromDisplay(selector->currentText()) : std::string();
}

void CreateSelectors() {
    AddLabel(MainWindowNumber, CountCaptionControl, 12, 15, 100, 20, "");
    struct Layout {
        int control, x, width;
        const char* tooltip;
        const char* name;  // what a screen reader calls it
        std::vector<const char*> items;
    };
    const Layout layouts[] = {
        {MatchSelectorControl,
         112,
         100,
         "Display matched or unmatched books",
         "Match filter",
         {"Matched", "Not matched", "Everything"}},
        {LevelSelectorControl, 218, 190, "Change level displayed", "Level filter", {}},
        {CategorySelectorControl, 414, 210, "Change displayed category", "Category filter", {}},
        {FormatSelectorControl, 630, 210, "Change format displayed", "Format filter", {}},
        {AustralianSelectorControl,
         846,
         100,
         "Limit to Australian authors",
         "Australian author filter",
         {"All", "Aussie only", "Non-Aussie"}},
    };
    for (const Layout& layout : layouts) {
        QComboBox* selector = AddSelector(MainWindowNumber, layout.control, layout.x, 12,
                                          layout.width, 24, layout.tooltip);
        selector->setFont(ProgramFonts().arial10);
        // Screen readers on Linux name a drop-down list by the label it is the buddy of.
        selector->setAccessibleName(QString::fromLatin1(layout.name));
        auto* name = new QLabel(QString::fromLatin1(layout.name), selector->parentWidget());
        name->setBuddy(selector);
        name->hide();
        for (const char* item : layout.items)
            selector->addItem(ToDisplay(item));
    }
    ControlById(MainWindowNumber, CountCaptionControl)->setFont(ProgramFonts().arial10);
}

void CreateButtons(int height, int width) {
    struct Layout {
        int control;
        const char* text;
        const char* tooltip;
    };
    const Layout layouts[] = {
        {CompareCommand, "Compare", "Compare booklist against library data - F5"},
        {UpdateCommand, "Update", "Update booklist data from a manually downloaded file"},
        {ExportCommand, "Export", "Save list to a tab-delimited text file"},
        {PrintCommand, "Print", "Print visible list - F7"},
        {NewBooksCommand, "New books", "List TUL new books"},
    };
    int x = 12;
    for (const Layout& layout : layouts) {
        AddButton(MainWindowNumber, layout.control, x, height - 53, 75, 22, layout.text,
                  layout.tooltip);
        x += 81;
    }
    AddButton(MainWindowNumber, CloseCommand, width - 86, height - 53, 75, 22, "Close");
    // Between the last button and Close, so that every other control keeps its place.
    FindField* find =
        AddFindField(MainWindowNumber, FindControl, 420, height - 53, width - 98 - 420, 22, "Find");
    if (find) find->SetEscapeTarget(MainBookList());
}

FindField* Find() {
    return ControlAs<FindField>(MainWindowNumber, FindControl);
}

// The list for the filters in force. Text typed into Find while the list filled was not acted
// upon: it is taken up now, as one more change.
void Refill(DesktopSession& session) {
    session.listed = FillBookList(session.booklist, session.filters);
    if (const FindField* find = Find();
        find && FromDisplay(find->text()) != session.filters.searchText)
        PostWindowEvent(FindControl, EventChanged);
}

bool BooklistMissingOrEmpty(const DataFolder& folder) {
    std::error_code error;
    const auto size = std::filesystem::file_size(folder.Booklist(), error);
    return error || size < 1;
}

bool AnyEntryMatched(const Booklist& booklist) {
    for (const auto& [idText, packed] : booklist.Table()) {
        if (ReadWholeNumber(SplitPackedLine(packed)[FieldMatched]) == 1) return true;
    }
    return false;
}

// The manual in the desktop's viewer. A missing manual is not reported; a missing viewer is, since
// the user pressed for help and would otherwise see nothing happen.
void OpenManual(const DataFolder& folder, Services& services) {
    if (!QFileInfo::exists(PathToDisplay(folder.Manual())) || OpenWithDesktop(folder.Manual()))
        return;
    services.ShowMessage("Help", "No program to open the manual was found.\r\n" + folder.Manual(),
                         MessageButtons::Ok, MessageIcon::Exclamation);
}

// Where the exports, PDFs and "OUTPUT.MRC" are, in the file manager; named when none shows it.
void OpenDataFolder(const DataFolder& folder, Services& services) {
    if (OpenWithDesktop(folder.Path())) return;
    services.ShowMessage(
        "Open data folder",
        "No program to show the folder was found. Tallyleaf's files are in\r\n" + folder.Path(),
        MessageButtons::Ok, MessageIcon::Information);
}

// Places the controls for the window's inner size. The list and its Title column take what the
// window gains or loses; the buttons stay at the bottom, Close and Find at the right edge. Below
// the width the window was laid out for, the category and format selectors give up the difference
// equally.
void LayOutMainWindow(QSize inner) {
    const int w = inner.width();
    const int h = inner.height();
    const int narrower = std::max(0, MainWindowWidth - w);
    int x = 414;
    for (const int control : {CategorySelectorControl, FormatSelectorControl}) {
        const int width = 210 - narrower / 2;
        if (QWidget* selector = ControlById(MainWindowNumber, control))
            selector->setGeometry(x, 12, width, 24);
        x += width + 6;
    }
    if (QWidget* australian = ControlById(MainWindowNumber, AustralianSelectorControl))
        australian->setGeometry(x, 12, 100, 24);
    if (ReportList* list = MainBookList()) {
        list->setGeometry(12, 48, w - 24, h - 112);
        SetBookListTitleWidth(w - 24);
    }
    for (const int button :
         {CompareCommand, UpdateCommand, ExportCommand, PrintCommand, NewBooksCommand}) {
        if (QWidget* control = ControlById(MainWindowNumber, button))
            control->move(control->x(), h - 53);
    }
    if (QWidget* close = ControlById(MainWindowNumber, CloseCommand)) close->move(w - 86, h - 53);
    if (QWidget* find = ControlById(MainWindowNumber, FindControl))
        find->setGeometry(420, h - 53, w - 98 - 420, 22);
}

// 960 x 650 where the screen has room for it, else the screen's free area; resizable down to
// 800 x 450, the controls following the size.
void FitMainWindow() {
    auto* window = static_cast<ProgramWindow*>(WindowById(MainWindowNumber));
    if (!window) return;
    window->Content()->setMinimumSize(MinimumMainWidth, MinimumMainHeight);
    OnResize(window->Content(), LayOutMainWindow);
    if (const QScreen* screen = window->screen()) {
        const QSize area = screen->availableGeometry().size();
        const QSize frame = window->frameGeometry().size() - window->size();
        const QSize wanted = window->size();
        window->resize(wanted.boundedTo(area - frame).expandedTo(window->minimumSizeHint()));
    }
    LayOutMainWindow(window->Content()->size());
}

// The ids of the rows the list shows now: filtered, in the order of the last heading click,
// without the rows taken out with Delete.
std::vector<std::string> ShownIds() {
    std::vector<std::string> ids;
    for (int row = 0; row < BookListRowCount(); ++row)
        ids.push_back(BookListCell(row, 0));
    return ids;
}

// Back in front with the list refilled, after a command that changed the matches.
void ShowAgainWithNewMatches(DesktopSession& session) {
    if (QWidget* main = WindowById(MainWindowNumber)) {
        main->setEnabled(true);
        main->raise();
        main->activateWindow();
    }
    Refill(session);
}

// The selectors, the filters and the list as a fresh load leaves them. Also after an import, since
// the rows and selectors of the old list would name books that are no longer loaded.
void ShowLoadedBooklist(DesktopSession& session) {
    FillSelectors(session.booklist);
    for (const int control :
         {CategorySelectorControl, FormatSelectorControl, AustralianSelectorControl}) {
        if (QComboBox* selector = Selector(control)) selector->setCurrentIndex(0);
    }
    FilterState& filters = session.filters;
    filters.levelFilter = AllLevelsText;
    filters.categoryFilter = AllCategoriesText;
    filters.formatFilter = AllFormatsText;
    filters.matchFilter =
        AnyEntryMatched(session.booklist) ? MatchFilterMatched : MatchFilterEverything;
    Refill(session);
}

// The commands that open a window or a message over the main window. Disabling the main window
// meanwhile takes the keyboard focus off the list, and Qt would give it back to the first control,
// the Matched selector, where the next arrow key would silently change the filter.
bool OpensWindow(int command) {
    switch (command) {
        case DetailsCommand:
        case PrintCommand:
        case UpdateCommand:
        case ServerUpdateCommand:
        case CompareCommand:
        case ExportCommand:
        case ReviewCommand:
        case HelpCommand:
        case OpenDataFolderCommand:
        case AboutCommand:
        case NewBooksCommand:
            return true;
        default:
            return false;
    }
}

}  // namespace

void StartMainWindow(DesktopSession& session) {
    OpenMainWindow(MainWindowNumber, "", 3, MainWindowWidth, MainWindowHeight);
    // The layout is worked out once from the inner size the window was opened with.
    const int width = MainWindowWidth;
    const int height = MainWindowHeight;

    BuildMenu(MainWindowNumber, "&File", FileMenuItems);
    BuildMenu(MainWindowNumber, "&Help", HelpMenuItems);

    CreateSelectors();
    LetWindowEventsThrough();

    CreateBookList(12, 48, width - 24, height - 112);
    LetWindowEventsThrough();

    AddShortcut(MainWindowNumber, QKeySequence(Qt::Key_Escape), CloseCommand);
    AddShortcut(MainWindowNumber, QKeySequence(Qt::Key_F5), CompareCommand);
    AddShortcut(MainWindowNumber, QKeySequence(Qt::Key_F6), ReviewCommand);
    AddShortcut(MainWindowNumber, QKeySequence(Qt::Key_F7), PrintCommand);
    AddShortcut(MainWindowNumber, QKeySequence(Qt::Key_F9), ServerUpdateCommand);
    AddShortcut(MainWindowNumber, QKeySequence(Qt::Key_F1), HelpCommand);
    AddShortcut(MainWindowNumber, QKeySequence(Qt::CTRL | Qt::Key_Q), CloseCommand);
    AddShortcut(MainWindowNumber, QKeySequence(Qt::CTRL | Qt::Key_F), FindCommand);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter})
        AddControlShortcut(MainWindowNumber, BookListControl, QKeySequence(key), DetailsCommand);

    CreateButtons(height, width);
    FitMainWindow();
    LetWindowEventsThrough();

    // The booklist, loaded next, reads the version again.
    UpdateFromServer(session.folder, session.server.baseUrl, session.services);

    if (BooklistMissingOrEmpty(session.folder)) {
        session.services.ShowMessage(
            "Notice",
            "TUL Booklist file not found. Please download booklist file.\r\n"
            "If you have been given a booklist file, File > Update imports it.",
            MessageButtons::Ok, MessageIcon::Information);
    }
    session.booklist = LoadBooklist(session.folder, session.services);
    ShowLoadedBooklist(session);
    AddShortcut(MainWindowNumber, QKeySequence(Qt::Key_Delete), RemoveRowsCommand);
    if (ReportList* list = MainBookList()) list->setFocus();
}

bool DispatchMainCommand(DesktopSession& session, const DialogEvent& event) {
    int command = event.command;
    if (command == BookListControl && event.subtype == EventDoubleClick) command = DetailsCommand;
    FilterState& filters = session.filters;
    const auto refill = [&session] { Refill(session); };
    const std::string focusedBook = OpensWindow(command) ? BookListCurrentId() : std::string();
    switch (command) {
        case CloseCommand:
        case CloseBoxCommand:
            return false;

        case LevelSelectorControl:
            filters.levelFilter = SelectorText(LevelSelectorControl);
            refill();
            break;
        case MatchSelectorControl:
            if (const QComboBox* match = Selector(MatchSelectorControl)) {
                filters.matchFilter = match->currentIndex();
            }
            refill();
            break;
        case CategorySelectorControl:
            // Picking the category in force again leaves the list as it is (rows removed stay out).
            if (SelectorText(CategorySelectorControl) != filters.categoryFilter) {
                filters.categoryFilter = SelectorText(CategorySelectorControl);
                refill();
            }
            break;
        case FormatSelectorControl:
            if (SelectorText(FormatSelectorControl) != filters.formatFilter) {
                filters.formatFilter = SelectorText(FormatSelectorControl);
                refill();
            }
            break;
        case AustralianSelectorControl:
            refill();
            break;
        case FindControl:
            if (const FindField* find = Find();
                find && FromDisplay(find->text()) != filters.searchText) {
                filters.searchText = FromDisplay(find->text());
                refill();
            }
            break;
        case FindCommand:
            if (FindField* find = Find()) {
                find->setFocus(Qt::ShortcutFocusReason);
                find->selectAll();
            }
            break;
        case RemoveRowsCommand:
            RemoveSelectedRows(session.listed);
            break;
        case HelpCommand:
            OpenManual(session.folder, session.services);
            break;
        case OpenDataFolderCommand:
            OpenDataFolder(session.folder, session.services);
            break;

        case CompareCommand:
            if (ShowCompareDialog(session.booklist, session.folder, session.services))
                ShowAgainWithNewMatches(session);
            break;
        case ReviewCommand:
            if (ShowMatchReview(session.booklist, session.folder, PdfFilePlaceIn(session.folder),
                                session.services))
                ShowAgainWithNewMatches(session);
            break;
        case PrintCommand:
            PrintVisibleBookList(session.folder, session.services);
            break;
        case UpdateCommand:
            if (ImportBooklist(session.booklist, session.folder, session.services))
                ShowLoadedBooklist(session);
            break;
        case ServerUpdateCommand:
            // The new file takes effect at the next load; only the version shows at once.
            if (std::optional<std::string> version =
                    UpdateFromServer(session.folder, session.server.baseUrl, session.services))
                session.booklist.SetVersion(std::move(*version));
            break;
        case ExportCommand:
            ExportList(session.booklist, session.folder, ShownIds(), session.services);
            break;
        case DetailsCommand:
            if (const int row = BookListSelectedRow(); row >= 0)
                ShowItemDetails(session.booklist, BookListCell(row, 0));
            break;
        case AboutCommand:
            ShowAbout(session.booklist.Version());
            break;
        case NewBooksCommand:
            ShowNewBooks(session.booklist, session.folder, session.server, session.services);
            break;
        default:
            break;
    }
    if (OpensWindow(command)) FocusBookList(focusedBook);
    return true;
}

bool HandleNextMainEvent(DesktopSession& session) {
    return DispatchMainCommand(session, WaitDialogEvent());
}

void RunMainEventLoop(DesktopSession& session) {
    while (HandleNextMainEvent(session)) {
    }
}

int RunDesktopProgram() {
    const DataFolders folders = ChooseDataFolders(
        PathFromDisplay(QCoreApplication::applicationDirPath()),
        {std::getenv("TALLYLEAF_DIR"), std::getenv("HOME"), std::getenv("XDG_DATA_HOME")});
    // Working anywhere else would put the user's booklist and results where they do not look.
    const FolderCheck check = PrepareDataFolder(folders);
    if (!check) {
        const std::string text =
            check.work.empty() ? "Tallyleaf has no folder for its files: " + check.reason + "."
                               : "Tallyleaf cannot keep its files in the folder\r\n" + check.work +
                                     "\r\n" + check.reason + ".";
        QtServices().ShowMessage("Tallyleaf", text, MessageButtons::Ok, MessageIcon::Exclamation);
        return 1;
    }
    if (!check.notice.empty()) {
        QtServices().ShowMessage("Tallyleaf", check.notice, MessageButtons::Ok,
                                 MessageIcon::Exclamation);
    }
    const DataFolder folder(check.work,
                            std::filesystem::path(folders.manual).parent_path().string());
    QtServices services(folder.Path());
    DesktopSession session{folder, ConfiguredServerAddress(folder), services, Booklist(), {}};

    CreateFontsAndColours();
    StartMainWindow(session);
    RunMainEventLoop(session);
    CloseDialogWindow();
    return 0;
}
