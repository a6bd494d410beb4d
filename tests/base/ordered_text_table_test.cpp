#include <gtest/gtest.h>

#include <map>
#include <random>

#include "base/ordered_text_table.h"

// Checked against std::map over many keys, some entered again, with the table growing from
// empty and from a reserve that proves too small.
TEST(OrderedTextTable, FindsWhatWasEnteredLastAndWalksInFirstEntryOrder) {
    for (const std::size_t reserved : {0, 100}) {
        OrderedTextTable table;
        table.reserve(reserved);
        std::map<std::string, std::string> expected;
        std::vector<std::string> firstOrder;
        std::mt19937 random(5);
        for (int i = 0; i < 5000; ++i) {
            // Keys that differ only late, and the empty key.
            std::string key = i % 1000 == 999 ? "" : "id" + std::to_string(random() % 3000);
            const std::string value = "line " + std::to_string(i);
            const bool isNew = !expected.contains(key);
            if (isNew) firstOrder.push_back(key);
            expected[key] = value;
            const auto [stored, added] = table.InsertOrAssign(key, value);
            EXPECT_EQ(added, isNew);
            EXPECT_EQ(*stored, value);
        }
        ASSERT_EQ(table.size(), expected.size());
        std::size_t i = 0;
        for (const auto& [key, value] : table) {
            EXPECT_EQ(key, firstOrder[i++]);
            EXPECT_EQ(value, expected[key]);
            ASSERT_NE(table.Find(key), nullptr);
            EXPECT_EQ(*table.Find(key), value);
        }
        EXPECT_EQ(table.Find("id3000"), nullptr);
        EXPECT_EQ(table.Find("id"), nullptr);
        table.clear();
        EXPECT_TRUE(table.empty());
        EXPECT_EQ(table.Find(firstOrder[0]), nullptr);
        EXPECT_TRUE(table.InsertOrAssign("x", "y").second);
    }
}
