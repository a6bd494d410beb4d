// The review's own formatting: texts of any bytes stay in their column, and a checksum notices a
// changed byte wherever it lies.
#include <gtest/gtest.h>

#include <algorithm>

#include "compare/match_review.h"
#include "support/test_folder.h"
#include "support/test_services.h"

TEST(MatchReview, SpecialBytesBecomeSpacesWhereverTheyLie) {
    TestFolder folder;
    // Every length up to past two words, each of TAB, CR, LF and NUL at every place, and bytes
    // of 0x80 and up, which the eight-byte test must let through.
    std::vector<ReviewRow> rows;
    for (std::size_t size = 1; size <= 20; ++size) {
        for (std::size_t at = 0; at < size; ++at) {
            for (const char special : {'\t', '\r', '\n', '\0'}) {
                ReviewRow row;
                row.id = std::to_string(rows.size());
                row.catalogueTitle = std::string(size, '\xE9');
                row.catalogueTitle[at] = special;
                row.bookAuthor = row.catalogueTitle;
                rows.push_back(row);
            }
        }
    }
    ASSERT_TRUE(SaveMatchReview(CurrentDataFolder(), rows).written);
    const auto loaded = LoadMatchReview(CurrentDataFolder());
    ASSERT_TRUE(loaded && loaded->size() == rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::string expected = rows[i].catalogueTitle;
        std::replace_if(
            expected.begin(), expected.end(),
            [](char c) { return c == '\t' || c == '\r' || c == '\n' || c == '\0'; }, ' ');
        EXPECT_EQ((*loaded)[i].catalogueTitle, expected) << i;
        EXPECT_EQ((*loaded)[i].bookAuthor, expected) << i;
    }
}

TEST(MatchReview, ChecksumChangesWithAnyOneByte) {
    for (std::size_t size = 0; size <= 80; ++size) {
        const std::string bytes(size, 'x');
        const std::string sum = RecordChecksum(bytes);
        EXPECT_NE(sum, RecordChecksum(bytes + '\0')) << size;
        for (std::size_t at = 0; at < size; ++at) {
            std::string changed = bytes;
            changed[at] = 'y';
            EXPECT_NE(sum, RecordChecksum(changed)) << size << " at " << at;
        }
    }
}
