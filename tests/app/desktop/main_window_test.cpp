#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <tuple>
#include <utility>

#include "app/desktop/book_list_view.h"
#include "app/desktop/main_window.h"
#include "app/desktop/main_window_ids.h"
#include "compare/desktop/compare_dialog.h"
#include "maintenance/desktop/about_dialog.h"
#include "maintenance/desktop/export_dialog.h"
#include "maintenance/desktop/item_details_dialog.h"
#include "platform/column_sort.h"
#include "platform/qt/controls.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/message.h"
#include "platform/qt/pause.h"
#include "platform/qt/program_window.h"
#include "platform/qt/progress.h"
#include "platform/qt/report_list.h"
#include "print/print_window.h"
#include "support/gui/gui_helpers.h"
#include "support/test_folder.h"

namespace {

class MainWindowTest : public ::testing::Test {
  protected:
    // Five books whose author order, id order, title keys and levels all differ.
    void WriteBooklist() {
        WriteFile(folder.Path() / "TULVersion.txt", "2024.2\r\n");
        WriteFile(folder.Path() / "Booklist.tul",
                  BooklistLine(12, "The Hobbit", "Tolkien, J.R.R.", "N", "Fantasy;Adventure",
                               "Middle Years (6-9, Special)", "Book") +
                      BooklistLine(7, "Possum Magic", "Fox, Mem", "Y", "Picture books;Animals",
                                   "Early Years (R-2)", "Book") +
                      BooklistLine(105, "Hatchet", "Paulsen, Gary", "N", "Adventure;Survival",
                                   "Mature", "Audio book") +
                      BooklistLine(33, "Matilda", "Dahl, Roald", "N", "Humour",
                                   "Primary Years (3-5)", "Book") +
                      BooklistLine(58, "Blueback", "Winton, Tim", "Y", "Adventure",
                                   "Middle Years (6-9, Special)", "eBook"));
    }

    static QComboBox* Selector(int control) {
        return ControlAs<QComboBox>(MainWindowNumber, control);
    }
    static std::string Caption() {
        return FromDisplay(ControlAs<QLabel>(MainWindowNumber, CountCaptionControl)->text());
    }
    static std::vector<std::string> Column(int column) {
        std::vector<std::string> cells;
        for (int row = 0; row < BookListRowCount(); ++row)
            cells.push_back(BookListCell(row, column));
        return cells;
    }
    // The user picks the next entry of a selector; the loop carries it out.
    static void PickNext(int control) {
        QTest::keyClick(Selector(control), Qt::Key_Down);
        EXPECT_TRUE(HandleNextMainEvent(TestSession()));
    }
    static void ClickHeading(int column) { ::ClickHeading(MainBookList(), column); }
    static std::string Ids() {
        std::string ids;
        for (const std::string& id : Column(0))
            ids += id + " ";
        return ids;
    }
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    TestFolder folder;
};

TEST_F(MainWindowTest, StartsWithoutBooklistAfterTheNotice) {
    TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
    StartMainWindow(TestSession());

    ASSERT_EQ(TestSessionServices().ShownMessages().size(), 1u);
    const TestServices::Message& notice = TestSessionServices().ShownMessages()[0];
    EXPECT_EQ(notice.title, "Notice");
    EXPECT_EQ(notice.text,
              "TUL Booklist file not found. Please download booklist file.\r\nIf you have been "
              "given a booklist file, File > Update imports it.");
    EXPECT_EQ(notice.buttons, MessageButtons::Ok);
    EXPECT_EQ(notice.icon, MessageIcon::Information);

    ASSERT_EQ(Selector(LevelSelectorControl)->count(), 1);
    EXPECT_EQ(Selector(LevelSelectorControl)->itemText(0), "");
    EXPECT_EQ(Selector(MatchSelectorControl)->currentText(), "Everything");
    EXPECT_EQ(Selector(CategorySelectorControl)->currentText(), "All categories");
    EXPECT_EQ(WindowById(MainWindowNumber)->windowTitle(), "");
    EXPECT_EQ(Caption(), "0 books");
    EXPECT_EQ(BookListRowCount(), 0);
    EXPECT_EQ(WindowStack(), "1");
}

TEST_F(MainWindowTest, EmptyBooklistCountsAsMissing) {
    WriteFile(folder.Path() / "Booklist.tul", "");
    TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
    StartMainWindow(TestSession());
    ASSERT_EQ(TestSessionServices().ShownMessages().size(), 1u);
    EXPECT_EQ(TestSessionServices().ShownMessages()[0].title, "Notice");
}

TEST_F(MainWindowTest, StartsWithBooklistInAuthorOrder) {
    WriteBooklist();
    StartMainWindow(TestSession());

    QWidget* window = WindowById(MainWindowNumber);
    EXPECT_EQ(FromDisplay(window->windowTitle()), "TUL Tallyleaf  2024.2");
    EXPECT_EQ(Caption(), "5 books");
    // No entry matched: everything is listed.
    EXPECT_EQ(Selector(MatchSelectorControl)->currentText(), "Everything");
    EXPECT_EQ(Selector(LevelSelectorControl)->count(), 5);
    EXPECT_EQ(Selector(LevelSelectorControl)->currentText(), "All levels");
    EXPECT_EQ(Selector(CategorySelectorControl)->itemText(1), "Adventure");
    EXPECT_EQ(Selector(FormatSelectorControl)->itemText(1), "Book");
    EXPECT_EQ(Column(0), (std::vector<std::string>{"33", "7", "105", "12", "58"}));
    EXPECT_EQ(BookListCell(2, 4), "10-12");
    EXPECT_EQ(BookListCell(2, 5), "Audio book");
    EXPECT_EQ(window->focusWidget(), MainBookList());

    // The fixed layout, fonts and tooltips.
    EXPECT_EQ(MainBookList()->geometry(), QRect(12, 48, 936, 538));
    EXPECT_EQ(MainBookList()->header()->sectionSize(1), 358);
    EXPECT_EQ(Selector(FormatSelectorControl)->geometry(), QRect(630, 12, 210, 24));
    EXPECT_EQ(Selector(FormatSelectorControl)->font().family(), "Arial");
    EXPECT_EQ(Selector(FormatSelectorControl)->toolTip(), "Change format displayed");
    QWidget* close = ControlById(MainWindowNumber, CloseCommand);
    EXPECT_EQ(close->geometry(), QRect(874, 597, 75, 22));
    EXPECT_EQ(close->font().family(), "Tahoma");
    EXPECT_EQ(close->font().pointSize(), 8);
    EXPECT_EQ(ControlById(MainWindowNumber, NewBooksCommand)->geometry(), QRect(336, 597, 75, 22));

    const auto menus = static_cast<QMainWindow*>(window)->menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(menus[1]->text(), "&Help");
    EXPECT_EQ(menus[0]->menu()->actions()[0]->text(), "&Compare\tF5");  // the shortcut column
    QTest::keyClick(window, Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([menus] { return menus[0]->menu()->isVisible(); }));
    menus[0]->menu()->close();
}

// Resized, the list and its Title column take the difference; the buttons keep to the bottom,
// Close and Find to the right edge; narrower, category and format share the loss.
TEST_F(MainWindowTest, ControlsFollowTheWindowsSize) {
    WriteBooklist();
    StartMainWindow(TestSession());
    QWidget* content = ProgramWindowById(MainWindowNumber)->Content();
    EXPECT_EQ(content->minimumSize(), QSize(800, 450));
    const std::tuple<QSize, QRect, QRect, QRect, QRect> cases[] = {
        // inner size, list, format selector, Close, Find
        {{1200, 800},
         {12, 48, 1176, 688},
         {630, 12, 210, 24},
         {1114, 747, 75, 22},
         {420, 747, 682, 22}},
        {{800, 450},
         {12, 48, 776, 338},
         {550, 12, 130, 24},
         {714, 397, 75, 22},
         {420, 397, 282, 22}},
    };
    for (const auto& [inner, list, format, close, find] : cases) {
        content->resize(inner);
        EXPECT_EQ(MainBookList()->geometry(), list);
        EXPECT_EQ(MainBookList()->header()->sectionSize(1), list.width() - 578);
        EXPECT_EQ(Selector(FormatSelectorControl)->geometry(), format);
        EXPECT_EQ(ControlById(MainWindowNumber, CloseCommand)->geometry(), close);
        EXPECT_EQ(ControlById(MainWindowNumber, FindControl)->geometry(), find);
        EXPECT_EQ(ControlById(MainWindowNumber, NewBooksCommand)->y(), close.y());
    }
}

TEST_F(MainWindowTest, StartsWithMatchedBooksOnly) {
    WriteBooklist();
    WriteFile(folder.Path() / "Matches.tul", "12,823 TOL\r\n");
    StartMainWindow(TestSession());

    EXPECT_EQ(Selector(MatchSelectorControl)->currentText(), "Matched");
    EXPECT_EQ(Caption(), "1 book");
    EXPECT_EQ(BookListCell(0, 3), "823 TOL");
}

TEST_F(MainWindowTest, BooklistTextIsShownAsWindows1252) {
    WriteFile(folder.Path() / "TULVersion.txt",
              "2024\x96"
              "2\r\n");
    WriteFile(folder.Path() / "Booklist.tul",
              BooklistLine(7,
                           "Don\x92t Panic \x96 \x80"
                           "5 \x85",
                           "Adams, Douglas", "N", "Caf\xE9s \x93&\x94 food", "Mature", "Book") +
                  BooklistLine(8, "Plain", "Zed, Ann", "N", "Other", "Mature", "Book"));
    StartMainWindow(TestSession());

    EXPECT_EQ(WindowById(MainWindowNumber)->windowTitle(),
              QString::fromUtf8("TUL Tallyleaf  2024–2"));
    EXPECT_EQ(MainBookList()->model()->index(0, 1).data().toString(),
              QString::fromUtf8("Don’t Panic – €5 …"));
    // The entry picked goes back to the booklist's own bytes and filters by them.
    QComboBox* category = Selector(CategorySelectorControl);
    const int cafes = category->findText(QString::fromUtf8("Cafés “&” food"));
    ASSERT_GT(cafes, 0);
    category->setCurrentIndex(cafes);
    emit category->activated(cafes);
    EXPECT_TRUE(HandleNextMainEvent(TestSession()));
    EXPECT_EQ(Column(0), std::vector<std::string>{"7"});
}

TEST_F(MainWindowTest, SelectorsDriveTheFilters) {
    WriteBooklist();
    StartMainWindow(TestSession());

    PickNext(LevelSelectorControl);  // Early Years
    EXPECT_EQ(Column(0), std::vector<std::string>{"7"});
    EXPECT_EQ(Caption(), "1 book");
    QTest::keyClick(Selector(LevelSelectorControl), Qt::Key_Up);
    EXPECT_TRUE(HandleNextMainEvent(TestSession()));

    PickNext(CategorySelectorControl);  // Adventure
    EXPECT_EQ(Column(0), (std::vector<std::string>{"105", "12", "58"}));

    PickNext(AustralianSelectorControl);  // Aussie only
    EXPECT_EQ(Column(0), std::vector<std::string>{"58"});

    QTest::keyClick(Selector(MatchSelectorControl), Qt::Key_Home);  // Matched
    EXPECT_TRUE(HandleNextMainEvent(TestSession()));
    EXPECT_EQ(Caption(), "0 books");
}

TEST_F(MainWindowTest, HeadingClicksSortByKind) {
    WriteBooklist();
    StartMainWindow(TestSession());

    ClickHeading(0);
    ClickHeading(0);
    EXPECT_EQ(BookListCell(0, 0), "105");
    EXPECT_EQ(BookListCell(4, 0), "7");

    // "The Hobbit" sorts under Hobbit, between Hatchet and Matilda.
    ClickHeading(1);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Blueback", "Hatchet", "The Hobbit", "Matilda",
                                                   "Possum Magic"}));

    ClickHeading(4);
    EXPECT_EQ(Column(4), (std::vector<std::string>{"R-2", "3-5", "6-9", "6-9", "10-12"}));

    // The direction survives a refill: the same heading now sorts descending.
    PickNext(AustralianSelectorControl);
    QTest::keyClick(Selector(AustralianSelectorControl), Qt::Key_Home);
    EXPECT_TRUE(HandleNextMainEvent(TestSession()));
    EXPECT_EQ(BookListCell(0, 0), "33");
    ClickHeading(4);
    EXPECT_EQ(BookListCell(0, 4), "10-12");
}

TEST_F(MainWindowTest, HeadingClicksAreNotCarriedOutDuringLongOperations) {
    WriteBooklist();
    StartMainWindow(TestSession());
    const std::vector<std::string> authorOrder = Column(0);
    bool clicked = false;
    const std::pair<const char*, std::function<void()>> operations[] = {
        {"fill", [] { FillBookList(TestSession().booklist, TestSession().filters); }},
        {"pause", [] { PauseWithEvents(5); }},
        {"comparison run",
         [&clicked] {
             OpenProgressWindow("Scanning library catalogue file", "Scanning", 0, 100, true);
             QElapsedTimer waited;
             waited.start();
             while (!clicked && waited.elapsed() < 5000)
                 PollProgressWindow();
             CloseProgressWindow();
         }},
    };
    for (const auto& [name, operation] : operations) {
        SCOPED_TRACE(name);
        ClickHeading(2);  // the next click on the ID heading sorts ascending
        clicked = false;
        QTimer::singleShot(0, [&clicked] {
            ClickHeading(0);
            clicked = true;
        });
        operation();
        EXPECT_TRUE(clicked);
        EXPECT_EQ(Column(0), authorOrder);
        // Had the click counted, this second one on the same heading would sort descending.
        ClickHeading(0);
        EXPECT_EQ(BookListCell(0, 0), "7");
    }
}

TEST_F(MainWindowTest, DeleteRemovesSelectedRowsUntilTheNextFill) {
    WriteBooklist();
    StartMainWindow(TestSession());
    SelectListRows(MainBookList(), {0, 2});

    QTest::keyClick(MainBookList(), Qt::Key_Delete);
    EXPECT_TRUE(HandleNextMainEvent(TestSession()));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"7", "12", "58"}));
    EXPECT_EQ(Caption(), "3 of 5 books");

    // Picking the category in force again is no change of filter: the rows stay out.
    emit Selector(CategorySelectorControl)->activated(0);
    EXPECT_TRUE(HandleNextMainEvent(TestSession()));
    EXPECT_EQ(BookListRowCount(), 3);

    emit Selector(AustralianSelectorControl)->activated(0);
    EXPECT_TRUE(HandleNextMainEvent(TestSession()));
    EXPECT_EQ(BookListRowCount(), 5);
}

TEST_F(MainWindowTest, TheWindowLayersResetLeavesNoListBehind) {
    WriteBooklist();
    StartMainWindow(TestSession());
    ASSERT_NE(MainBookList(), nullptr);
    ResetWindowServices();
    EXPECT_EQ(MainBookList(), nullptr);
    EXPECT_EQ(BookListRowCount(), 0);
}

TEST_F(MainWindowTest, KeysReportTheirCommandsAndTheCloseBoxEndsTheLoop) {
    WriteBooklist();
    StartMainWindow(TestSession());
    // To the book list, which has the focus, or a selector's open list: the command (0: none).
    const std::tuple<int, QKeyCombination, int> keys[] = {
        {BookListControl, Qt::Key_Escape, CloseCommand},
        {BookListControl, Qt::CTRL | Qt::Key_Q, CloseCommand},
        {BookListControl, Qt::Key_F1, HelpCommand},
        {BookListControl, Qt::Key_Return, DetailsCommand},
        {CategorySelectorControl, Qt::Key_Escape, 0},
        {LevelSelectorControl, Qt::Key_Return, LevelSelectorControl}};
    for (const auto& [to, key, command] : keys) {
        if (to != BookListControl) Selector(to)->showPopup();
        QTest::keyClick(to == BookListControl ? MainBookList() : Selector(to)->view(), key.key(),
                        key.keyboardModifiers());
        const auto event = TakeWindowEvent();
        EXPECT_EQ(event ? event->command : 0, command) << to << " " << key.toCombined();
    }
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    WindowById(MainWindowNumber)->close();
    EXPECT_FALSE(HandleNextMainEvent(TestSession()));
    EXPECT_TRUE(WindowById(MainWindowNumber)->isVisible());  // only the loop's end closes it
}

// The offscreen platform has no program to open any document with.
TEST_F(MainWindowTest, HelpSaysWhenNoProgramOpensTheManual) {
    WriteBooklist();
    StartMainWindow(TestSession());
    WriteFile(TestSession().folder.Manual(), "%PDF-1.4\n");
    TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
    EXPECT_TRUE(DispatchMainCommand(TestSession(), {HelpCommand, EventClicked}));
    const TestServices::Message& said = TestSessionServices().ShownMessages().at(0);
    EXPECT_EQ(said.title, "Help");
    EXPECT_EQ(said.icon, MessageIcon::Exclamation);
    EXPECT_EQ(said.text,
              "No program to open the manual was found.\r\n" + TestSession().folder.Manual());
}

// Each window over the list, closed by a key (a message answered as told): the focus is back on
// its book, and the next arrow key moves along the list, not a filter. Export's Return is OK.
TEST_F(MainWindowTest, FocusReturnsToTheBookAfterEveryWindow) {
    WriteBooklist();
    StartMainWindow(TestSession());
    const std::tuple<int, int, Qt::Key, std::size_t> cases[] = {
        {DetailsCommand, ItemDetailsWindowNumber, Qt::Key_Escape, 0},
        {ExportCommand, ExportWindowNumber, Qt::Key_Escape, 0},
        {ExportCommand, ExportWindowNumber, Qt::Key_Return, 1},
        {CompareCommand, CompareDialogNumber, Qt::Key_Escape, 1},
        {PrintCommand, PrintWindowNumber, Qt::Key_Escape, 1},
        {AboutCommand, AboutWindowNumber, Qt::Key_Escape, 1},
        {ReviewCommand, 0, Qt::Key_unknown, 1},    // no review yet
        {NewBooksCommand, 0, Qt::Key_unknown, 1},  // no server
    };
    ReportList* list = MainBookList();
    for (const auto& [command, window, key, fileDialogs] : cases) {
        list->setCurrentIndex(list->model()->index(2, 0));  // Hatchet
        TestSessionServices().PresetChosenFile("");
        if (!window) TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
        if (window) {
            WhenShown([window] { return ActiveWindowById(window); },
                      [key](QWidget* shown) { QTest::keyClick(shown, key); });
        }
        const QPoint row = list->visualRect(list->model()->index(2, 1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
        command == DetailsCommand ? QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row)
                                  : PostWindowEvent(command, EventClicked);
        EXPECT_TRUE(HandleNextMainEvent(TestSession()));
        EXPECT_EQ(TestSessionServices().FileDialogs().size(), fileDialogs) << command;
        EXPECT_TRUE(QTest::qWaitFor([list] { return QApplication::focusWidget() == list; }));
        EXPECT_EQ(BookListCurrentId(), "105");
        Key(Qt::Key_Up);
        EXPECT_FALSE(WindowEventQueued());
        EXPECT_EQ(BookListCurrentId(), "7");
    }
}

// Find from the keyboard: what each key leaves listed, and Escape that never ends the program
// until the field is empty and the focus back on the list.
TEST_F(MainWindowTest, FindFiltersAsTypedAndEscapeClearsThenLeaves) {
    WriteBooklist();
    StartMainWindow(TestSession());
    auto* find = ControlAs<QLineEdit>(MainWindowNumber, FindControl);
    SelectListRows(MainBookList(), {0});
    Key(Qt::Key_Delete);
    find->setText("ma");
    while (WindowEventQueued())
        EXPECT_TRUE(HandleNextMainEvent(TestSession()));
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(HandleNextMainEvent(TestSession()));
    const std::tuple<QString, std::string, bool> steps[] = {
        {"Ma", "33 7 ",
         true},  // Matilda, Possum Magic: Ctrl+F selected "ma", the typing replaced it
        {"t", "33 ", true},
        {"\x1b", "33 7 105 12 58 ", true},  // the row taken out with Delete is back
        {"\x1b", "33 7 105 12 58 ", false},
    };
    for (const auto& [typed, listed, findFocused] : steps) {
        if (typed == "\x1b") Key(Qt::Key_Escape);
        if (typed != "\x1b") QTest::keyClicks(QApplication::focusWidget(), typed);
        while (WindowEventQueued())
            EXPECT_TRUE(HandleNextMainEvent(TestSession()));
        EXPECT_EQ(Ids(), listed);
        EXPECT_EQ(QApplication::focusWidget() == find, findFocused);
    }
    Key(Qt::Key_Escape);  // now the list's: Close
    EXPECT_EQ(TakeWindowEvent().value_or(DialogEvent{}).command, CloseCommand);
}

// As a screen reader asks for them; on Linux a drop-down list is named by its label buddy.
TEST_F(MainWindowTest, EveryControlHasAnAccessibleName) {
    WriteBooklist();
    StartMainWindow(TestSession());
    std::string names;
    for (const int control :
         {MatchSelectorControl, LevelSelectorControl, CategorySelectorControl,
          FormatSelectorControl, AustralianSelectorControl, FindControl, BookListControl}) {
        QAccessibleInterface* a =
            QAccessible::queryAccessibleInterface(ControlById(MainWindowNumber, control));
        const auto labels = a->relations(QAccessible::Label);
        names += FromDisplay((labels.empty() ? a : labels[0].first)->text(QAccessible::Name)) + ",";
    }
    EXPECT_EQ(names,
              "Match filter,Level filter,Category filter,Format filter,Australian author "
              "filter,Find,Book list,");
}

}  // namespace
