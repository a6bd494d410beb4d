#include <gtest/gtest.h>
#include <stdlib.h>

#include <QLabel>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <optional>
#include <set>

#include "app/desktop/book_list_view.h"
#include "app/desktop/main_window.h"
#include "app/desktop/main_window_ids.h"
#include "app/startup_constants.h"
#include "booklist/booklist.h"
#include "maintenance/booklist_update.h"
#include "platform/qt/controls.h"
#include "support/gui/gui_helpers.h"
#include "support/gui/test_server.h"
#include "support/test_folder.h"

namespace {

namespace fs = std::filesystem;

const std::string OldBooklist =
    BooklistLine(7, "Possum Magic", "Fox, Mem", "Y", "Animals", "Early Years (R-2)", "Book");
const std::string OldMatches = "7,A FOX\r\n";
const std::string NewBooklist =
    BooklistLine(12, "The Hobbit", "Tolkien, J.R.R.", "N", "Fantasy", "Mature", "Book") +
    BooklistLine(33, "Matilda", "Dahl, Roald", "N", "Humour", "Primary Years (3-5)", "Book");

// A folder holding an older booklist with its matches, and a server holding a newer list.
class ServerUpdateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "no_proxy", "HTTP_PROXY", "NO_PROXY"})
            unsetenv(name);
        WriteFile("TULVersion.txt", "2024.2\r\n");
        WriteFile("Booklist.tul", OldBooklist);
        WriteFile("Matches.tul", OldMatches);
        fs::create_directory(served);
        WriteFile(served / "TULVersion.txt", "2025.1\r\n");
        WriteFile(served / "TULBookList.txt", NewBooklist);
        ASSERT_NE(server.Port(), 0);
    }

    // The server misbehaves as `mode` ("short:TULBookList.txt") under the base it is given.
    void UseServer(const std::string& mode = "plain") {
        TestSession().server.baseUrl = server.Url("/" + mode + "/Tallyleaf/");
    }
    // Tests cannot wait as long as the program does, nor fetch as much.
    static constexpr ServerUpdateLimits Limits{{1500, 2000, 4 << 10}, {1500, 2500, 2 << 20}};
    // The version the loaded booklist takes, when the server answered.
    static std::optional<std::string> Update() {
        DesktopSession& session = TestSession();
        return UpdateFromServer(session.folder, session.server.baseUrl, session.services, Limits);
    }
    bool Unchanged() const {
        return ReadFile("Booklist.tul") == OldBooklist && FileExists("Matches.tul") &&
               ReadFile("Matches.tul") == OldMatches;
    }

    TestFolder folder;
    fs::path served = folder.Path() / "served";
    TestServer server = TestServer::Odd(served.string());
};

TEST_F(ServerUpdateTest, ReplacesTheBooklistAndDropsTheMatches) {
    UseServer();
    // The notice is looked at while the update waits on the download; WhenShown would wait
    // inside the version file's download instead.
    bool noticeChecked = false;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        QWidget* notice = WindowById(30);
        if (!notice || noticeChecked) return;
        noticeChecked = true;
        EXPECT_EQ(notice->windowTitle(), "Update");
        EXPECT_EQ(notice->size(), QSize(200, 100));
        auto* text = notice->findChild<QLabel*>();
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->text(), "Downloading update TUL Book List file...");
        EXPECT_EQ(text->geometry(), QRect(0, 10, 200, 90));
        EXPECT_TRUE(text->wordWrap() && text->heightForWidth(200) <= 90);  // wrapped, all inside
    });
    look.start(5);
    const std::optional<std::string> version = Update();

    EXPECT_TRUE(noticeChecked);
    EXPECT_EQ(ReadFile("Booklist.tul"), NewBooklist);
    EXPECT_FALSE(FileExists("Matches.tul"));
    // The version is the installed file's, read again; the downloaded copy is not read.
    EXPECT_EQ(version, "2024.2");
    EXPECT_EQ(FileNamesIn(folder.Path()),
              (std::set<std::string>{".tallyleaf.lock", "Booklist.tul", "TULBookList.txt",
                                     "TULVersion.txt", "V.txt", "served"}));
    EXPECT_EQ(WindowStack(), "");
}

TEST_F(ServerUpdateTest, VersionFileDecidesWhetherTheBooklistIsFetched) {
    struct Case {
        const char* version;
        bool fetched;
    };
    for (const Case c : {Case{"2025", false}, Case{"2025\n", true}}) {
        SCOPED_TRACE(c.version);
        WriteFile(served / "TULVersion.txt", c.version);
        fs::remove("TULVersion.txt");
        WriteFile("Booklist.tul", OldBooklist);
        UseServer();
        const std::optional<std::string> version = Update();
        EXPECT_EQ(ReadFile("V.txt"), c.version);
        EXPECT_EQ(FileExists("TULBookList.txt"), c.fetched);
        EXPECT_EQ(ReadFile("Booklist.tul"), c.fetched ? NewBooklist : OldBooklist);
        EXPECT_EQ(version.value_or(""), c.fetched ? "2015.1" : "");
    }
}

// Whatever goes wrong, the booklist and the matches stay byte for byte, only the files of that
// name that were fetched whole remain, and the update ends within its limits.
TEST_F(ServerUpdateTest, FailuresKeepTheBooklistAndMatches) {
    struct Case {
        const char* mode;
        const char* servedBooklist;
        bool booklistCopyLeft;
    };
    const Case cases[] = {
        {"missing:TULVersion.txt", nullptr, false},
        {"missing:TULBookList.txt", nullptr, false},
        {"short:TULBookList.txt", nullptr, false},
        {"stall:TULBookList.txt", nullptr, false},
        {"html:TULBookList.txt", nullptr, true},
        {"plain", "", true},
        {"plain", "Not a booklist\r\n\tno id\r\n", true},
        {"endless:TULVersion.txt", nullptr, false},
        {"gzip:TULVersion.txt", nullptr, false},
        {"endless:TULBookList.txt", nullptr, false},
        {"huge:TULBookList.txt", nullptr, false},
        {"trickle:TULBookList.txt", nullptr, false},
        {"gzip:TULBookList.txt", nullptr, false},
        {"labelled:TULBookList.txt", nullptr, false},
        {"random:TULBookList.txt", nullptr, true},
    };
    const auto longest = std::chrono::milliseconds(Limits.versionFile.totalMilliseconds +
                                                   Limits.booklist.totalMilliseconds + 3000);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + (c.servedBooklist ? c.servedBooklist : ""));
        fs::remove("TULBookList.txt");
        fs::remove("V.txt");
        if (c.servedBooklist) WriteFile(served / "TULBookList.txt", c.servedBooklist);
        UseServer(c.mode);
        const auto start = std::chrono::steady_clock::now();
        Update();
        EXPECT_LT(std::chrono::steady_clock::now() - start, longest);
        EXPECT_TRUE(Unchanged());
        std::set<std::string> names{".tallyleaf.lock", "Booklist.tul", "Matches.tul",
                                    "TULVersion.txt", "served"};
        if (std::string_view(c.mode).find("TULVersion") == std::string_view::npos)
            names.insert("V.txt");
        if (c.booklistCopyLeft) names.insert("TULBookList.txt");
        EXPECT_EQ(FileNamesIn(folder.Path()), names);
        WriteFile(served / "TULBookList.txt", NewBooklist);
    }
}

TEST_F(ServerUpdateTest, WithoutAServerNothingIsFetched) {
    TestSession().server.baseUrl = "";
    Update();
    EXPECT_TRUE(Unchanged());
    EXPECT_FALSE(FileExists("V.txt"));
}

TEST_F(ServerUpdateTest, StartUpShowsTheFetchedBooklist) {
    UseServer();
    StartMainWindow(TestSession());
    EXPECT_FALSE(FileExists("Matches.tul"));
    EXPECT_EQ(BookListRowCount(), 2);
    EXPECT_EQ(FromDisplay(WindowById(MainWindowNumber)->windowTitle()), "TUL Tallyleaf  2024.2");
}

// F9 replaces the file; the list on screen stays until the next load.
TEST_F(ServerUpdateTest, F9FetchesWithoutReloading) {
    StartMainWindow(TestSession());
    ASSERT_EQ(BookListRowCount(), 1);
    UseServer();
    EXPECT_TRUE(DispatchMainCommand(TestSession(), {ServerUpdateCommand, EventClicked}));
    EXPECT_EQ(ReadFile("Booklist.tul"), NewBooklist);
    EXPECT_EQ(BookListRowCount(), 1);
    EXPECT_EQ(WindowStack(), "1");
}

}  // namespace
