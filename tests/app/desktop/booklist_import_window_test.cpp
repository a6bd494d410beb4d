#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>

#include "app/desktop/book_list_view.h"
#include "app/desktop/main_window.h"
#include "app/desktop/main_window_ids.h"
#include "platform/qt/controls.h"
#include "platform/qt/file_dialog.h"
#include "support/gui/gui_helpers.h"
#include "support/test_folder.h"

namespace {

QComboBox* Selector(int control) {
    return ControlAs<QComboBox>(MainWindowNumber, control);
}

class BooklistImportWindowTest : public ::testing::Test {
  protected:
    TestFolder folder;
};

// After an import the window shows the new list as a fresh start would: no row, selector entry
// or filter of the old list is left to act upon.
TEST_F(BooklistImportWindowTest, ShowsTheImportedListFromTheStart) {
    WriteFile(
        "Booklist.tul",
        BooklistLine(7, "Possum Magic", "Fox, Mem", "Y", "Animals", "Early Years (R-2)", "Book") +
            BooklistLine(12, "The Hobbit", "Tolkien, J.R.R.", "N", "Fantasy", "Mature", "Book"));
    WriteFile("Matches.tul", "7,A FOX\r\n");
    StartMainWindow(TestSession());
    ASSERT_EQ(Selector(MatchSelectorControl)->currentText(), "Matched");
    QTest::keyClick(Selector(CategorySelectorControl), Qt::Key_Down);
    EXPECT_TRUE(HandleNextMainEvent(TestSession()));
    ASSERT_EQ(Selector(CategorySelectorControl)->currentText(), "Animals");

    WriteFile(
        "new.txt",
        BooklistLine(33, "Matilda", "Dahl, Roald", "N", "Humour", "Primary Years (3-5)", "eBook") +
            BooklistLine(58, "Blueback", "Winton, Tim", "Y", "Adventure", "Mature", "Book"));
    TestSessionServices().PresetChosenFile((folder.Path() / "new.txt").string());
    EXPECT_TRUE(DispatchMainCommand(TestSession(), {UpdateCommand, EventClicked}));
    // Booklist files come first in the data folder, where a copy given by hand is put.
    ASSERT_EQ(TestSessionServices().FileDialogs().size(), 1u);
    EXPECT_TRUE(TestSessionServices().FileDialogs()[0].filter.starts_with("Booklist files|*.tul|"));

    EXPECT_FALSE(FileExists("Matches.tul"));
    EXPECT_EQ(Selector(MatchSelectorControl)->currentText(), "Everything");
    EXPECT_EQ(Selector(CategorySelectorControl)->currentText(), "All categories");
    EXPECT_EQ(Selector(CategorySelectorControl)->itemText(1), "Adventure");
    EXPECT_EQ(Selector(FormatSelectorControl)->count(), 3);
    EXPECT_EQ(BookListRowCount(), 2);
    EXPECT_EQ(BookListCell(0, 0), "33");
    EXPECT_TRUE(TestSessionServices().ShownMessages().empty());
}

}  // namespace
