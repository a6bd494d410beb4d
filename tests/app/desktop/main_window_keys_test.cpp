#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "app/desktop/book_list_view.h"
#include "app/desktop/main_window.h"
#include "app/desktop/main_window_ids.h"
#include "compare/desktop/compare_dialog.h"
#include "maintenance/desktop/about_dialog.h"
#include "maintenance/desktop/export_dialog.h"
#include "maintenance/desktop/item_details_dialog.h"
#include "platform/qt/controls.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/report_list.h"
#include "print/print_window.h"
#include "support/gui/gui_helpers.h"
#include "support/test_folder.h"

namespace {

class MainWindowKeysTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteFile("TULVersion.txt", "2024.2\r\n");
        WriteFile(
            "Booklist.tul",
            BooklistLine(12, "The Hobbit", "Tolkien, J.R.R.", "N", "Fantasy", "Mature", "Book") +
                BooklistLine(7, "Possum Magic", "Fox, Mem", "Y", "Animals", "Mature", "Book") +
                BooklistLine(105, "Hatchet", "Paulsen, Gary", "N", "Survival", "Mature", "Book") +
                BooklistLine(33, "Matilda", "Dahl, Roald", "N", "Humour", "Mature", "Book") +
                BooklistLine(58, "Blueback", "Winton, Tim", "Y", "Sea", "Mature", "Book"));
        StartMainWindow(TestSession());
    }
    static std::vector<std::string> Ids() {
        std::vector<std::string> ids;
        for (int row = 0; row < BookListRowCount(); ++row)
            ids.push_back(BookListCell(row, 0));
        return ids;
    }
    static QLineEdit* Find() { return ControlAs<QLineEdit>(MainWindowNumber, FindControl); }
    // Carries out what the keys queued, as the loop does, until nothing is left.
    static void HandleQueued() {
        while (WindowEventQueued())
            EXPECT_TRUE(HandleNextMainEvent(TestSession()));
    }

    TestFolder folder;
};

// Each window over the main list, closed by a key: the focus is back on the list, on the book it
// was on, and the next arrow key moves along the list instead of changing a filter.
TEST_F(MainWindowKeysTest, FocusReturnsToTheBookAfterEveryWindow) {
    const struct {
        const char* name;
        int command;
        int window;  // 0: a message, answered through the test's services
        Qt::Key key;
        std::size_t fileDialogs;  // asked for once the window closes
    } cases[] = {
        {"Item Details", DetailsCommand, ItemDetailsWindowNumber, Qt::Key_Escape, 0},
        {"Export, Escape is Cancel", ExportCommand, ExportWindowNumber, Qt::Key_Escape, 0},
        {"Export, Return is OK", ExportCommand, ExportWindowNumber, Qt::Key_Return, 1},
        {"Compare", CompareCommand, CompareDialogNumber, Qt::Key_Escape, 1},
        {"Print", PrintCommand, PrintWindowNumber, Qt::Key_Escape, 1},
        {"About", AboutCommand, AboutWindowNumber, Qt::Key_Escape, 1},
        {"Review without a review", ReviewCommand, 0, Qt::Key_unknown, 1},
        {"New books without a server", NewBooksCommand, 0, Qt::Key_unknown, 1},
    };
    ReportList* list = MainBookList();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SelectListRows(list, {2});
        list->setCurrentIndex(list->model()->index(2, 0));
        ASSERT_EQ(BookListCurrentId(), "105");
        TestSessionServices().PresetChosenFile("");  // a file dialog is cancelled
        if (!c.window) TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
        if (c.window) {
            WhenShown([&c] { return ActiveWindowById(c.window); },
                      [&c](QWidget* window) { QTest::keyClick(window, c.key); });
        }
        if (c.command == DetailsCommand) {
            const QPoint where = list->visualRect(list->model()->index(2, 1)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, where);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, where);
        } else {
            PostWindowEvent(c.command, EventClicked);
        }
        EXPECT_TRUE(HandleNextMainEvent(TestSession()));
        EXPECT_EQ(WindowStack(), "1");
        EXPECT_EQ(TestSessionServices().FileDialogs().size(), c.fileDialogs);
        // The main window is active again once the window system has said so.
        EXPECT_TRUE(QTest::qWaitFor([list] { return QApplication::focusWidget() == list; }));
        EXPECT_EQ(BookListCurrentId(), "105");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        EXPECT_FALSE(WindowEventQueued());
        EXPECT_EQ(BookListCurrentId(), "7");
        EXPECT_EQ(ControlAs<QComboBox>(MainWindowNumber, MatchSelectorControl)->currentIndex(),
                  MatchFilterEverything);
    }
}

// The Find field from the keyboard: what each key leaves listed and where the focus is.
TEST_F(MainWindowKeysTest, FindFiltersAsTypedAndEscapeNeverEndsTheProgram) {
    SelectListRows(MainBookList(), {0});
    QTest::keyClick(MainBookList(), Qt::Key_Delete);
    HandleQueued();
    Find()->setText("ma");
    HandleQueued();
    QTest::keyClick(MainBookList(), Qt::Key_F, Qt::ControlModifier);
    HandleQueued();
    ASSERT_EQ(QApplication::focusWidget(), Find());
    EXPECT_EQ(Find()->selectedText(), "ma");

    const struct {
        const char* typed;  // keys typed into the field; "\x1b" is Escape
        std::vector<std::string> listed;
        bool findFocused;
    } steps[] = {
        {"Ma", {"33", "7"}, true},  // Matilda, Possum Magic: the typing replaced the selection
        {"t", {"33"}, true},
        {"\x1b", {"33", "7", "105", "12", "58"}, true},  // the row taken out is back
        {"\x1b", {"33", "7", "105", "12", "58"}, false},
        {"\x1b", {"33", "7", "105", "12", "58"}, false},  // now the list's Escape: Close
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.typed);
        for (const char c : std::string(step.typed)) {
            if (c == '\x1b') {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            } else {
                QTest::keyClicks(QApplication::focusWidget(), QString(QChar(c)));
            }
        }
        if (step.findFocused || QApplication::focusWidget() == Find()) HandleQueued();
        EXPECT_EQ(Ids(), step.listed);
        EXPECT_EQ(QApplication::focusWidget() == Find(), step.findFocused);
    }
    const auto event = TakeWindowEvent();
    EXPECT_EQ(event ? event->command : 0, CloseCommand);
}

// The name a screen reader gives: on Linux a drop-down list is named by the label it is the buddy
// of, its own name being the entry shown.
QString AccessibleName(QWidget* control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    if (!accessible) return {};
    for (const auto& [related, relation] : accessible->relations(QAccessible::Label))
        return related->text(QAccessible::Name);
    return accessible->text(QAccessible::Name);
}

TEST_F(MainWindowKeysTest, EveryControlHasAnAccessibleName) {
    const std::pair<int, const char*> names[] = {
        {MatchSelectorControl, "Match filter"},
        {LevelSelectorControl, "Level filter"},
        {CategorySelectorControl, "Category filter"},
        {FormatSelectorControl, "Format filter"},
        {AustralianSelectorControl, "Australian author filter"},
        {FindControl, "Find"},
        {BookListControl, "Book list"},
        {ExportCommand, "Export"},
        {CloseCommand, "Close"},
    };
    for (const auto& [control, name] : names)
        EXPECT_EQ(AccessibleName(ControlById(MainWindowNumber, control)), name);
}

// Alt+F opens File; each item shows its key in the shortcut column.
TEST_F(MainWindowKeysTest, MenusHaveAccessKeysAndShowTheirShortcuts) {
    QWidget* window = WindowById(MainWindowNumber);
    QTest::keyClick(window, Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    QWidget* file = QApplication::activePopupWidget();
    ASSERT_NE(file, nullptr);
    QStringList items;
    for (const QAction* action : file->actions())
        items << action->text();
    EXPECT_EQ(items.join("|"),
              "&Compare\tF5|&Review matches\tF6|&Update|&Export||&Print\tF7||Open data "
              "&folder||E&xit\tCtrl+Q");
    QTest::keyClick(file, Qt::Key_Escape);
}

}  // namespace
