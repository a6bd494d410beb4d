#include "platform/column_sort.h"

#include <gtest/gtest.h>

#include "booklist/keys.h"

TEST(ColumnSort, ComparesCellsByKind) {
    EXPECT_LT(CompareCells(ColumnSortKind::Text, "apple", "Banana"), 0);
    EXPECT_EQ(CompareCells(ColumnSortKind::Text, "SMITH", "smith"), 0);
    EXPECT_GT(CompareCells(ColumnSortKind::Number, "1207", "98"), 0);
    EXPECT_LT(CompareCells(ColumnSortKind::Text, "1207", "98"), 0);
    // The level column reads R-2 as 0, 3-5 as 3, 6-9 as 6 and 10-12 as 10.
    EXPECT_LT(CompareCells(ColumnSortKind::Number, "R-2", "3-5"), 0);
    EXPECT_LT(CompareCells(ColumnSortKind::Number, "3-5", "6-9"), 0);
    EXPECT_LT(CompareCells(ColumnSortKind::Number, "6-9", "10-12"), 0);
    EXPECT_GT(CompareCells(ColumnSortKind::Custom, "The Zebra", "Apple", &CompareTitleKeys), 0);
    EXPECT_EQ(CompareCells(ColumnSortKind::Custom, "The Cat", "cat", &CompareTitleKeys), 0);
    EXPECT_EQ(CompareCells(ColumnSortKind::Custom, "a", "b"), 0);  // a list without a comparator
}

TEST(ColumnSort, SameColumnReversesAnotherStartsAscending) {
    ColumnSortState state;
    EXPECT_TRUE(state.NextSortAscending(0));
    EXPECT_FALSE(state.NextSortAscending(0));
    EXPECT_TRUE(state.NextSortAscending(0));
    EXPECT_TRUE(state.NextSortAscending(2));
    EXPECT_FALSE(state.NextSortAscending(2));
    EXPECT_TRUE(state.NextSortAscending(0));
    EXPECT_EQ(state.LastColumn(), 0);
}

TEST(ColumnSort, ColumnsAreTextUntilSetOtherwise) {
    ColumnSortState state;
    state.SetKind(4, ColumnSortKind::Number);
    state.SetKind(999, ColumnSortKind::Number);  // past the last column: ignored
    EXPECT_EQ(state.Kind(4), ColumnSortKind::Number);
    EXPECT_EQ(state.Kind(5), ColumnSortKind::Text);
    EXPECT_EQ(state.Kind(999), ColumnSortKind::Text);
}
