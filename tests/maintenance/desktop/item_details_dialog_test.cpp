// Item Details on Qt's offscreen platform, opened by a double-click as the user opens it.
#include "maintenance/desktop/item_details_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "app/desktop/book_list_view.h"
#include "app/desktop/main_window.h"
#include "app/desktop/main_window_ids.h"
#include "app/filter_state.h"
#include "platform/qt/controls.h"
#include "platform/qt/program_window.h"
#include "platform/qt/report_list.h"
#include "support/gui/gui_helpers.h"
#include "support/test_folder.h"

namespace {

QWidget* DetailsWindow() {
    QWidget* window = WindowById(ItemDetailsWindowNumber);
    const bool ready = window && window->isVisible() && QApplication::activeWindow() == window;
    return ready ? window : nullptr;
}

// The row's label and value boxes, found by their text.
QLabel* Box(const QString& text) {
    for (QLabel* label : ProgramWindowById(ItemDetailsWindowNumber)->findChildren<QLabel*>()) {
        if (label->text() == text) return label;
    }
    return nullptr;
}

void DoubleClickRow(int row) {
    ReportList* list = MainBookList();
    const QPoint where = list->visualRect(list->model()->index(row, 1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, where);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, where);
}

class ItemDetailsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // In author order: 7 without any optional row, then 12 with every row and categories of
        // 71 characters.
        WriteFile("Booklist.tul",
                  "7\tKites & Kestrels\tAshcombe, Dacey\tN\tRedgum\t\t\tKites.\tAdventure\t"
                  "Primary Years (3-5)\t\tBook\t\r\n"
                  "12\tThe Owl\tBrackenfold, Tansy\tY\t\t2019\t978 0 1234 5678 x\tAn owl.\t" +
                      std::string(71, 'c') +
                      "\tEarly Years (R-2)\tNight Series\tAudio book\t111\r\n");
        WriteFile("Matches.tul", "12,823 BRA\r\n");
        StartMainWindow(TestSession());
        // Everything listed, whatever is matched.
        TestSession().filters.matchFilter = MatchFilterEverything;
        FillBookList(TestSession().booklist, TestSession().filters);
    }

    // Double-clicks `row`, hands the window to `look`, then ends it with `close`.
    static void ShowAndClose(int row, const std::function<void()>& look,
                             const std::function<void(QWidget*)>& close) {
        bool looked = false;
        WhenShown(DetailsWindow, [&](QWidget* window) {
            look();
            looked = true;
            close(window);
        });
        DoubleClickRow(row);
        EXPECT_TRUE(HandleNextMainEvent(TestSession()));
        EXPECT_TRUE(looked);
        EXPECT_EQ(WindowStack(), "1");
        EXPECT_TRUE(WindowById(MainWindowNumber)->isEnabled());
    }

    TestFolder folder;
};

TEST_F(ItemDetailsTest, ShowsTheSelectedBookUntilOkReturnEscapeOrTheCloseBox) {
    ShowAndClose(
        0,
        [] {
            ProgramWindow* window = ProgramWindowById(ItemDetailsWindowNumber);
            EXPECT_EQ(window->windowTitle(), "Item Details");
            EXPECT_EQ(window->Content()->size(), QSize(700, 550));
            EXPECT_EQ(window->Content()->palette().color(QPalette::Window), QColor(224, 255, 255));
            EXPECT_FALSE(WindowById(MainWindowNumber)->isEnabled());
            // Nine rows: no ISBN, call number, series or SCIS number.
            EXPECT_EQ(window->findChildren<QLabel*>().size(), 18);
            QLabel* label = Box("Annotation:");
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->geometry(), QRect(0, 215, 140, 18));
            EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
            QLabel* value = Box("Kites.");
            ASSERT_NE(value, nullptr);
            EXPECT_EQ(value->geometry(), QRect(146, 214, 540, 270));
            EXPECT_TRUE(value->wordWrap());
            EXPECT_EQ(value->font().family(), "Verdana");
            EXPECT_EQ(value->font().pointSize(), 10);
            ASSERT_NE(Box("Kites & Kestrels"), nullptr);
            EXPECT_EQ(Box("Kites & Kestrels")->textFormat(), Qt::PlainText);
            EXPECT_NE(Box("Publisher:"), nullptr);
            EXPECT_EQ(ControlById(ItemDetailsWindowNumber, ItemDetailsOkControl)->geometry(),
                      QRect(618, 521, 75, 22));
        },
        [](QWidget* window) { QTest::keyClick(window, Qt::Key_Return); });

    // The other book: every row, the categories on two lines.
    ShowAndClose(
        1,
        [] {
            EXPECT_EQ(ProgramWindowById(ItemDetailsWindowNumber)->findChildren<QLabel*>().size(),
                      26);
            EXPECT_EQ(Box("An owl.")->geometry(), QRect(146, 324, 540, 270));
            EXPECT_NE(Box("823 BRA"), nullptr);
        },
        [](QWidget* window) { QTest::keyClick(window, Qt::Key_Escape); });
    ShowAndClose(
        0, [] {},
        [](QWidget*) {
            ControlAs<QPushButton>(ItemDetailsWindowNumber, ItemDetailsOkControl)->click();
        });
    ShowAndClose(
        0, [] {}, [](QWidget* window) { window->close(); });

    // A double-click with no row selected opens nothing.
    SelectListRows(MainBookList(), {});
    EXPECT_TRUE(DispatchMainCommand(TestSession(), {BookListControl, EventDoubleClick}));
    EXPECT_EQ(WindowStack(), "1");
}

}  // namespace
