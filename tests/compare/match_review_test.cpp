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

TEST(MatchReview, RowOfAMatchConvertsOnlyTheTextsThatAreNotPlainAscii) {
    TestFolder folder;
    RunReview review;
    review.Open(CurrentDataFolder());
    const std::string record(40, 'r');
    // The booklist's texts are windows-1252; the record's are in its own encoding.
    review.Add("1", "Caf\xE9", "Ng", MatchKind::SameTitle, "c1", "Caf\xC3\xA9 \tau lait", "Ng",
               "641 NG", CatalogueEncoding::Utf8, {0, record});
    review.Add("2", "Tea", "Ng", MatchKind::SameTitle, "c2", "Th\xE9", "Ng", "641",
               CatalogueEncoding::Windows1252, {40, record});
    ASSERT_TRUE(review.Finish().written);
    const auto rows = LoadMatchReview(CurrentDataFolder());
    ASSERT_TRUE(rows && rows->size() == 2u);
    EXPECT_EQ((*rows)[0].bookTitle, "Caf\xC3\xA9");
    EXPECT_EQ((*rows)[0].catalogueTitle, "Caf\xC3\xA9  au lait");
    EXPECT_EQ((*rows)[0].checksum, RecordChecksum(record));
    EXPECT_EQ((*rows)[1].bookTitle, "Tea");
    EXPECT_EQ((*rows)[1].catalogueTitle, "Th\xC3\xA9");
    EXPECT_EQ((*rows)[1].offset, 40);
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

// Reviews written earlier are checked against the output by these sums: they never change.
TEST(MatchReview, ChecksumStaysTheOneEarlierReviewsHold) {
    const std::pair<std::size_t, const char*> kept[] = {
        {0, "b519cb3d4ac99472"},  {1, "d6838e0fda58db90"},  {7, "d715e53cfa88b84e"},
        {8, "49cf43a139b0ea1a"},  {9, "5b2a5d0ce1a13557"},  {31, "c5536357807a4ca1"},
        {32, "6c34a315e6f28eab"}, {33, "fa724cddac6d982f"}, {45, "0c95e98fc236b0b8"},
        {600, "b668af9a6aad13e7"}};
    for (const auto& [size, sum] : kept) {
        std::string bytes;
        for (std::size_t i = 0; i < size; ++i)
            bytes += static_cast<char>(i * 37 + 11);
        EXPECT_EQ(RecordChecksum(bytes), sum) << size;
    }
}

TEST(MatchReview, LongIdsAreRepeatedOnlyWhenWhole) {
    // The first eight bytes are alike; only whole IDs count, and a row taken back for none.
    std::vector<ReviewRow> rows(5);
    const char* ids[] = {"100000000001", "100000000002", "100000000001", "1", "1"};
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i].id = ids[i];
    rows[4].takenBack = true;
    MarkRepeatedEntries(rows);
    EXPECT_TRUE(rows[0].repeated && rows[2].repeated);
    EXPECT_FALSE(rows[1].repeated || rows[3].repeated || rows[4].repeated);
}
