#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "booklist/keys.h"
#include "platform/column_sort.h"
#include "platform/dialogs.h"
#include "platform/qt/report_list.h"
#include "support/gui/gui_helpers.h"

namespace {

class ReportListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(OpenMainWindow(1, "", 3, 960, 650));
        list = AddReportList(1, 130, 10, 10, 400, 300);
        ASSERT_NE(list, nullptr);
        AddListColumn(list, "ID", 150);
        AddListColumn(list, "Name", 150);
        ASSERT_TRUE(EnableColumnSort(list));
        SetColumnSortKind(list, 0, ColumnSortKind::Number);
    }

    std::vector<std::string> Column(int column) const {
        std::vector<std::string> cells;
        for (int row = 0; row < ListRowCount(list); ++row)
            cells.push_back(ListCell(list, row, column));
        return cells;
    }

    ReportList* list = nullptr;
};

TEST_F(ReportListTest, HeadingClickDuringBulkUpdateLosesNoRows) {
    constexpr int Rows = 2000;
    BeginBulkUpdate(list);
    for (int i = 0; i < Rows; ++i) {
        AddListRow(list, std::to_string(Rows - i) + "\nRow");
        if (i == Rows / 2) ShowAddedRows(list);  // half on view, half still held back
    }
    ClickHeading(list, 0);
    EndBulkUpdate(list);
    ASSERT_EQ(ListRowCount(list), Rows);
    EXPECT_EQ(ListCell(list, 0, 0), std::to_string(Rows));

    // The click during the update did not count: this one is the first, ascending.
    ClickHeading(list, 0);
    EXPECT_EQ(ListCell(list, 0, 0), "1");
    EXPECT_EQ(ListCell(list, Rows - 1, 0), std::to_string(Rows));
}

TEST_F(ReportListTest, NumberColumnSortsSixtyFourBitNumbers) {
    for (const char* id : {"9000000000000", "2147483647", "99999999999999999999", "3000000000",
                           "1207", "R-2", "-3000000000", " 98"}) {
        AddListRow(list, std::string(id) + "\nRow");
    }
    ClickHeading(list, 0);
    // Past the 64-bit range a number reads as 0, like "R-2", and the sort keeps their order.
    EXPECT_EQ(Column(0),
              (std::vector<std::string>{"-3000000000", "99999999999999999999", "R-2", " 98", "1207",
                                        "2147483647", "3000000000", "9000000000000"}));
}

// Text and keyed Custom columns sort by keys compared as integers first; the result must be the
// stable sort by the comparison of the cells, ties in their earlier order in either direction.
TEST_F(ReportListTest, KeyedSortsMatchAStableSortByTheCellComparison) {
    const std::vector<std::string> names = {
        "smith",
        "Smith",
        "SMITH",
        "",
        "abcdefghijklmnopq",
        "ABCDEFGHIJKLMNOPQ",
        "abcdefghijklmnop",
        "abcdefghijklmnopr",
        "abcdefgh",
        "abcdefgh ",
        std::string("abc\0", 4),
        "abc",
        "\xc3\xa9mile",
        "zed",
        "The Zebra",
        "A Zebra",
        "zebra",
        "an apple for the teacher and a pear for the class",
        "AN APPLE FOR THE TEACHER AND A PEAR FOR THE CLASS",
        "An apple for the teacher and a pear for the clasp",
    };
    for (std::size_t i = 0; i < names.size(); ++i)
        AddListRow(list, std::to_string(i) + "\n" + names[i]);
    SetCustomColumnSort(list, &CompareTitleKeys, &NormaliseKeyInto);

    for (const ColumnSortKind kind : {ColumnSortKind::Text, ColumnSortKind::Custom}) {
        SetColumnSortKind(list, 1, kind);
        for (const bool ascending : {true, false}) {
            std::vector<std::string> expected = Column(1);
            std::stable_sort(expected.begin(), expected.end(),
                             [&](const std::string& a, const std::string& b) {
                                 const int order = CompareCells(kind, a, b, &CompareTitleKeys);
                                 return ascending ? order < 0 : order > 0;
                             });
            ClickHeading(list, 1);
            EXPECT_EQ(Column(1), expected) << (ascending ? "ascending" : "descending");
        }
        ClickHeading(list, 0);  // a fresh order, so the next column's click starts ascending
    }
}

}  // namespace
