// Times the book list of the desktop program on a generated booklist of 100,000 entries, on Qt's
// offscreen platform: a fill with every filter open, heading-click sorts of each kind, a Delete,
// the cost of one progress call, the Review matches window over 20,000 matches, and typing
// "quokka" into Find letter by letter. Prints one
// line a measurement, in milliseconds.
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/desktop/book_list_view.h"
#include "app/desktop/main_window.h"
#include "app/desktop/main_window_ids.h"
#include "app/filter_state.h"
#include "booklist/booklist.h"
#include "booklist_generator.h"
#include "compare/desktop/review_window.h"
#include "compare/match_review.h"
#include "platform/qt/controls.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/find_field.h"
#include "platform/qt/fonts.h"
#include "platform/qt/program_window.h"
#include "platform/qt/progress.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/report_list.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The time until the result is on screen: the work, then one pass of the window system.
template <typename Work>
double Timed(Work work) {
    const auto start = Clock::now();
    work();
    QApplication::processEvents();
    return MillisecondsSince(start);
}

// A review of `count` matches of every kind, with texts of a usual length, some entries matched
// twice.
std::vector<ReviewRow> GeneratedReview(int count) {
    std::vector<ReviewRow> rows(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        ReviewRow& row = rows[static_cast<std::size_t>(i)];
        row.id = std::to_string(i % (count - count / 10) + 1);
        row.bookTitle = "The book of the generated entry number " + std::to_string(i);
        row.bookAuthor = "Author, Some";
        row.kind = static_cast<MatchKind>(i % 4);
        row.controlNumber = "ocm" + std::to_string(40000000 + i);
        row.catalogueTitle = row.bookTitle + " : a novel /";
        row.catalogueAuthor = "Author, Some.";
        row.callNumber = "823.914 AUT";
        row.coding = i % 2 ? CatalogueEncoding::Utf8 : CatalogueEncoding::Windows1252;
        row.written = true;
        row.offset = i * 600LL;
        row.length = 600;
        row.checksum = "0123456789abcdef";
    }
    MarkRepeatedEntries(rows);
    return rows;
}

// From the command until the window's list of every row is on screen, then closed.
double TimedReviewWindow(DesktopSession& session, int rows) {
    const auto start = Clock::now();
    double shown = 0;
    QTimer::singleShot(0, [&] {
        QApplication::processEvents();
        if (WindowById(ReviewWindowNumber) &&
            ListRowCount(ControlAs<ReportList>(ReviewWindowNumber, ReviewListControl)) == rows) {
            shown = MillisecondsSince(start);
        }
        PostWindowEvent(ReviewCloseControl, EventClicked);
    });
    ShowMatchReview(session.booklist, session.folder, {}, session.services);
    return shown;
}

// Gives every 50th title a quoll and every 200th a quokka, so that the letters typed into Find
// leave first a few thousand rows, then a few hundred.
void AddQuokkas(const std::filesystem::path& booklist) {
    std::ifstream in(booklist, std::ios::binary);
    std::stringstream out;
    std::string line;
    for (int row = 0; std::getline(in, line); ++row) {
        const std::size_t titleEnd = line.find('\t', line.find('\t') + 1);
        if (row > 0 && row % 200 == 0)
            line.insert(titleEnd, " and the Quokka");
        else if (row > 0 && row % 50 == 0)
            line.insert(titleEnd, " and the Quoll");
        out << line << '\n';
    }
    in.close();
    std::ofstream(booklist, std::ios::binary) << out.str();
}

// Types `text` into Find one letter at a time; each letter refills the list through the main
// window's loop.
void TimedTyping(DesktopSession& session, const std::string& text) {
    FindField* find = ControlAs<FindField>(MainWindowNumber, FindControl);
    if (!find->text().isEmpty()) {
        find->clear();
        HandleNextMainEvent(session);
    }
    for (const char letter : text) {
        find->insert(QString(QChar(letter)));
        const double ms = Timed([&session] { HandleNextMainEvent(session); });
        std::printf("Find \"%s\": %.1f ms, %d rows\n", FromDisplay(find->text()).c_str(), ms,
                    BookListRowCount());
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        const std::string runtime = "/tmp/tallyleaf-runtime-" + std::to_string(getuid());
        mkdir(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = 5;
    QApplication application(argc, argv);

    const auto folder = std::filesystem::temp_directory_path() /
                        ("tallyleaf-gui-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    WriteGeneratedBooklist(folder, entries, 0);
    AddQuokkas(folder / "Booklist.tul");
    std::filesystem::current_path(folder);

    CreateFontsAndColours();
    const auto startUp = Clock::now();
    QtServices services(folder.string());
    DesktopSession session{DataFolder(folder.string()), {}, services, Booklist(), {}};
    StartMainWindow(session);  // includes the one-second pause after loading
    std::printf("start-up with %d entries: %.0f ms (1000 ms of it the pause after loading)\n",
                entries, MillisecondsSince(startUp));
    ReportList* list = MainBookList();
    std::printf("rows shown: %d\n", BookListRowCount());

    session.filters.matchFilter = MatchFilterEverything;
    for (int run = 0; run < runs; ++run) {
        std::printf("FillBookList, every filter open: %.1f ms\n",
                    Timed([&session] { FillBookList(session.booklist, session.filters); }));
    }
    const char* names[] = {"ID (Number)", "Title (Custom)", "Author (Text)", "Level (Number)"};
    const int columns[] = {0, 1, 2, 4};
    for (int c = 0; c < 4; ++c) {
        for (int run = 0; run < 2; ++run) {
            std::printf("heading click %s: %.1f ms\n", names[c],
                        Timed([&] { list->SortByHeading(columns[c]); }));
        }
    }
    SelectListRows(list, {1, 5, 700, entries / 2});
    std::printf("Delete of 4 rows: %.1f ms\n",
                Timed([&session] { RemoveSelectedRows(session.listed); }));

    OpenProgressWindow("Scanning library catalogue file", "Scanning", 0, 1'000'000'000, true);
    const int calls = 5'000'000;
    const auto progressStart = Clock::now();
    for (int i = 0; i < calls; ++i) {
        SetProgressPosition(i * 100);
        if ((i & 1023) == 0) SetProgressCounter(std::to_string(i) + " records read");
        if (PollProgressWindow() == ProgressCancelId) break;
    }
    std::printf("progress: position and poll per record: %.3f us\n",
                MillisecondsSince(progressStart) * 1000.0 / calls);
    CloseProgressWindow();

    const int reviewRows = 20000;
    SaveMatchReview(session.folder, GeneratedReview(reviewRows));
    for (int run = 0; run < runs; ++run) {
        std::printf("Review matches window, %d rows: %.1f ms\n", reviewRows,
                    TimedReviewWindow(session, reviewRows));
    }

    for (int run = 0; run < 3; ++run)
        TimedTyping(session, "quokka");

    ResetWindowServices();
    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder);
    return 0;
}
