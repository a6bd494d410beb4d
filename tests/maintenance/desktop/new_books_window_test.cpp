#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/desktop/main_window.h"
#include "app/desktop/main_window_ids.h"
#include "app/startup_constants.h"
#include "booklist/booklist.h"
#include "maintenance/desktop/new_books_window.h"
#include "platform/dialogs.h"
#include "platform/printer_device.h"
#include "platform/qt/controls.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/message.h"
#include "platform/qt/report_list.h"
#include "print/page.h"
#include "print/page_layout.h"
#include "print/print_window.h"
#include "print/printer_connection.h"
#include "support/gui/gui_helpers.h"
#include "support/gui/pdf_text.h"
#include "support/gui/test_server.h"
#include "support/test_folder.h"

namespace {

namespace fs = std::filesystem;

const std::string Booklist =
    BooklistLine(7, "Possum Magic", "Fox, Mem", "Y", "Animals", "Early Years (R-2)", "Book") +
    BooklistLine(12, "The Hobbit", "Tolkien, J.R.R.", "N", "Fantasy", "Secondary", "Book") +
    BooklistLine(33, "Matilda", "Dahl, Roald", "N", "Humour", "Primary Years (3-5)", "Book");
const std::string NewBooksFile = "12\r\n99\r\n7\tadded\r\n33\r\n";

// A loaded booklist, and a server holding the list of new books.
class NewBooksWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "no_proxy", "HTTP_PROXY", "NO_PROXY"})
            unsetenv(name);
        WriteFile("Booklist.tul", Booklist);
        TestSession().booklist = LoadBooklist(TestSession().folder, TestSession().services);
        fs::create_directory(served);
        WriteFile(served / "TULNewBooks.txt", NewBooksFile);
        ASSERT_NE(server.Port(), 0);
        TestSession().server.baseUrl = server.Url("/plain/Tallyleaf/");
        SetPdfOutput(pdf.string());
    }

    // Shows the window and lets `act` do what the user does once it is active, then `next` once
    // `ready` says so. The window is looked for by polling: a wait of the test's own would run
    // inside the download's. A window that does not close fails the test instead of holding it up.
    void ShowAndAct(const std::function<void(ReportList*)>& act,
                    const std::function<bool()>& ready = {},
                    const std::function<void()>& next = {}) {
        int step = 0;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (step == 0 && ActiveWindowById(NewBooksWindowNumber)) {
                step = 1;
                act(ControlAs<ReportList>(NewBooksWindowNumber, NewBooksListControl));
            } else if (step == 1 && ready && ready()) {
                step = 2;
                next();
            }
        });
        poll.start(5);
        bool stuck = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&stuck] {
            stuck = true;
            PostWindowEvent(CloseBoxCommand, EventClicked);
        });
        watchdog.start(10000);
        show();
        EXPECT_GE(step, 1);
        EXPECT_FALSE(stuck);
        EXPECT_EQ(WindowById(NewBooksWindowNumber), nullptr);
    }

    std::function<void()> show = [] {
        ShowNewBooks(TestSession().booklist, TestSession().folder, TestSession().server,
                     TestSessionServices());
    };
    TestFolder folder;
    fs::path served = folder.Path() / "served";
    fs::path pdf = folder.Path() / "out.pdf";
    TestServer server = TestServer::Odd(served.string());
};

std::vector<std::string> Column(const ReportList* list, int column) {
    std::vector<std::string> cells;
    for (int r = 0; r < ListRowCount(list); ++r)
        cells.push_back(ListCell(list, r, column));
    return cells;
}

TEST_F(NewBooksWindowTest, ShowsTheFoundBooksInFileOrder) {
    ShowAndAct([](ReportList* list) {
        QWidget* window = WindowById(NewBooksWindowNumber);
        EXPECT_EQ(window->windowTitle(), "New books");
        EXPECT_EQ(ControlById(NewBooksWindowNumber, NewBooksCaptionControl)->size(),
                  QSize(830, 20));
        EXPECT_EQ(ControlAs<QLabel>(NewBooksWindowNumber, NewBooksCaptionControl)->text(),
                  "TUL new books. 3 new entries");
        EXPECT_EQ(list->geometry(), QRect(15, 35, 790, 550));
        EXPECT_EQ(ControlById(NewBooksWindowNumber, NewBooksOkControl)->geometry(),
                  QRect(748, 611, 75, 22));
        EXPECT_EQ(ControlById(NewBooksWindowNumber, NewBooksPrintControl)->geometry(),
                  QRect(667, 611, 75, 22));
        EXPECT_EQ(list->Rows()->headings,
                  (std::vector<std::string>{"ID", "Title", "Author", "Call number", "Band"}));
        EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"12", "7", "33"}));
        EXPECT_EQ(Column(list, 4), (std::vector<std::string>{"Mature", "0-2", "3-5"}));
        EXPECT_EQ(SelectedListRows(list), std::vector<int>{0});
        EXPECT_EQ(QApplication::focusWidget(), list);
        QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);  // moves the one selected row
        EXPECT_EQ(SelectedListRows(list), std::vector<int>{1});
        // Every column sorts as text: "12" before "33" before "7".
        ClickHeading(list, 0);
        EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"12", "33", "7"}));
        ClickHeading(list, 1);
        EXPECT_EQ(Column(list, 1),
                  (std::vector<std::string>{"Matilda", "Possum Magic", "The Hobbit"}));
        QTest::keyClick(list, Qt::Key_Return);  // OK
    });
    EXPECT_TRUE(FileExists("TULNewBooks.txt"));  // it stays in place afterwards
    EXPECT_TRUE(TestSessionServices().ShownMessages().empty());
    EXPECT_EQ(WindowStack(), "");
}

// Each way of closing the window.
TEST_F(NewBooksWindowTest, ClosesOnOkCloseBoxAndDoubleClick) {
    enum class Close { Ok, CloseBox, DoubleClick };
    for (const Close how : {Close::Ok, Close::CloseBox, Close::DoubleClick}) {
        SCOPED_TRACE(static_cast<int>(how));
        ShowAndAct([how](ReportList* list) {
            switch (how) {
                case Close::Ok:
                    ControlAs<QPushButton>(NewBooksWindowNumber, NewBooksOkControl)->click();
                    break;
                case Close::CloseBox:
                    WindowById(NewBooksWindowNumber)->close();
                    break;
                case Close::DoubleClick: {
                    const QPoint row = list->visualRect(list->model()->index(1, 0)).center();
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
                    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
                    break;
                }
            }
        });
    }
}

// The printout keeps the window open; its columns are the on-screen widths times 0.23.
TEST_F(NewBooksWindowTest, PrintsTheListAndStaysOpen) {
    PresetSpoolerPrinters({"Library"}, "Library");
    bool openAfterPrint = false;
    std::string printedWidths;
    ShowAndAct(
        [&printedWidths](ReportList* list) {
            std::vector<int> widths;
            for (int c = 0; c < list->Rows()->columnCount(); ++c)
                widths.push_back(list->header()->sectionSize(c));
            printedWidths = ListColumnsForPrint(list->Rows()->headings, widths, 0.23).widths;
            PrintWhenAsked();
            ControlAs<QPushButton>(NewBooksWindowNumber, NewBooksPrintControl)->click();
        },
        // Between the rows of a job only the window's repaints are let through.
        [this] { return FileExists(pdf) && !LettingWindowEventsThrough(); },
        [&openAfterPrint] {
            openAfterPrint = WindowById(NewBooksWindowNumber) != nullptr;
            PostWindowEvent(NewBooksOkControl, EventClicked);
        });
    EXPECT_TRUE(openAfterPrint);
    ASSERT_TRUE(FileExists(pdf));
    const std::vector<std::string> pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(InOrder(pages[0],
                        {"TUL new books. 3 new entries", "The Hobbit", "Possum Magic", "Matilda"}))
        << pages[0];
    EXPECT_EQ(printedWidths, "18,62,48,23,23");
}

// A failed download shows the notice naming the host alone and opens no window.
TEST_F(NewBooksWindowTest, FailedDownloadNamesTheHost) {
    const std::string host = "127.0.0.1:" + std::to_string(server.Port());
    struct Case {
        std::string base;
        const char* served;  // nullptr: as set up
        bool window;
        const char* reason = "";
    };
    const Case cases[] = {
        {"/missing:TULNewBooks.txt/Tallyleaf/", nullptr, false, "status 404"},
        {"/short:TULNewBooks.txt/Tallyleaf/", nullptr, false, "closed"},
        {"/gzip:TULNewBooks.txt/Tallyleaf/", nullptr, false, "gzip"},
        {"/plain/Tallyleaf/", "12\r\n", true},
        {"/plain/Tallyleaf/", "12\n", false, "the list is empty"},
        {"/plain/Tallyleaf/", "", false, "the list is empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.base + (c.served ? c.served : ""));
        WriteFile("TULNewBooks.txt", NewBooksFile);  // an earlier file is not shown
        if (c.served) WriteFile(served / "TULNewBooks.txt", c.served);
        TestSession().server.baseUrl = server.Url(c.base);
        const std::size_t before = TestSessionServices().ShownMessages().size();
        bool opened = false;
        if (c.window) {
            ShowAndAct([&opened](ReportList* list) {
                opened = true;
                EXPECT_EQ(ListRowCount(list), 1);
                QTest::keyClick(list, Qt::Key_Escape);
            });
        } else {
            TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
            ShowNewBooks(TestSession().booklist, TestSession().folder, TestSession().server,
                         TestSessionServices());
        }
        EXPECT_EQ(opened, c.window);
        if (c.window) {
            EXPECT_EQ(TestSessionServices().ShownMessages().size(), before);
            continue;
        }
        ASSERT_EQ(TestSessionServices().ShownMessages().size(), before + 1);
        const TestServices::Message& notice = TestSessionServices().ShownMessages().back();
        EXPECT_EQ(notice.title, "Notice");
        EXPECT_EQ(notice.buttons, MessageButtons::Ok);
        EXPECT_EQ(notice.icon, MessageIcon::Information);
        EXPECT_TRUE(notice.text.starts_with("Unable to download file: ")) << notice.text;
        EXPECT_NE(notice.text.find(c.reason), std::string::npos) << notice.text;
        EXPECT_TRUE(notice.text.ends_with(
            ".\r\nPlease make sure the proxy server allows access to " + host))
            << notice.text;
    }

    // A server that is gone, no server at all, and an address that is set but unusable, named as
    // it was set.
    server.Stop();
    TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
    TestSession().server.baseUrl = server.Url("/plain/Tallyleaf/");
    ShowNewBooks(TestSession().booklist, TestSession().folder, TestSession().server,
                 TestSessionServices());
    TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
    TestSession().server.baseUrl = "";
    ShowNewBooks(TestSession().booklist, TestSession().folder, TestSession().server,
                 TestSessionServices());
    TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
    TestSession().server = ServerAddressFrom("\xEF\xBB\xBF ftp://books.example/ ");
    ShowNewBooks(TestSession().booklist, TestSession().folder, TestSession().server,
                 TestSessionServices());
    const std::vector<TestServices::Message>& messages = TestSessionServices().ShownMessages();
    ASSERT_GE(messages.size(), 3u);
    EXPECT_NE(messages[messages.size() - 3].text.find("allows access to " + host),
              std::string::npos);
    EXPECT_EQ(messages[messages.size() - 2].title, "Notice");
    EXPECT_EQ(messages[messages.size() - 2].text,
              "Unable to download file. No update server is set.");
    EXPECT_EQ(messages.back().text,
              "Unable to download file. The update server address ftp://books.example/ is not an "
              "http or https address.");
    EXPECT_EQ(WindowStack(), "");
}

// The main window's "New books" button opens the window over it.
TEST_F(NewBooksWindowTest, OpenedByTheMainWindowsButton) {
    StartMainWindow(TestSession());
    show = [] { EXPECT_TRUE(DispatchMainCommand(TestSession(), {NewBooksCommand, EventClicked})); };
    std::string stack;
    ShowAndAct([&stack](ReportList*) {
        stack = WindowStack();
        PostWindowEvent(NewBooksOkControl, EventClicked);
    });
    EXPECT_EQ(stack, "34,1");
    EXPECT_EQ(WindowStack(), "1");
}

}  // namespace
