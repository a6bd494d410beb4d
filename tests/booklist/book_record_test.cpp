#include "booklist/book_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(BookRecord, PacksAndUnpacksEveryField) {
    BookRecord r;
    r.id = -5;
    r.title = "T";
    r.author = "A";
    r.australianAuthor = "Y";
    r.publisher = "P";
    r.yearPublished = "1999";
    r.isbn = "123X";
    r.annotation = "An.";
    r.categories = "Art;Sport";
    r.level = "Primary Years (3-5)";
    r.series = "S";
    r.format = "Ebook";
    r.scisNumber = "99";
    r.titleKey = "T";
    r.surnameKey = "A";
    r.seriesKey = "S";
    r.callNumber = "F ABC";
    r.matched = 1;
    const std::string packed = PackBookRecord(r);
    EXPECT_EQ(
        packed,
        "-5\tT\tA\tY\tP\t1999\t123X\tAn.\tArt;Sport\tPrimary Years (3-5)\tS\tEbook\t99\tT\tA\tS"
        "\tF ABC\t1");
    const BookRecord back = UnpackBookRecord(packed);
    EXPECT_EQ(PackBookRecord(back), packed);
    EXPECT_EQ(back.levelBand, 2);
}

TEST(BookRecord, EmptyLineIsTheEmptyRecord) {
    const BookRecord r = UnpackBookRecord("");
    EXPECT_EQ(r.id, 0);
    EXPECT_EQ(r.matched, 0);
    EXPECT_EQ(r.format, "Book");
    EXPECT_EQ(r.levelBand, 4);
    EXPECT_TRUE(r.title.empty());
}

TEST(BookRecord, EmptyFormatIsBookBothWays) {
    BookRecord r;
    r.format = "";
    EXPECT_EQ(SplitPackedLine(PackBookRecord(r))[FieldFormat], "Book");
    EXPECT_EQ(UnpackBookRecord("1\tT\t\t\t\t\t\t\t\t\t\t\t").format, "Book");
}

TEST(BookRecord, TabInsideACallNumberCannotShiftTheMatchedField) {
    BookRecord r;
    r.id = 3;
    r.callNumber = "F\tSMI";
    r.matched = 1;
    const BookRecord back = UnpackBookRecord(PackBookRecord(r));
    EXPECT_EQ(back.callNumber, "F SMI");
    EXPECT_EQ(back.matched, 1);
}

TEST(LevelBandOf, FollowsTheLevelMarkers) {
    EXPECT_EQ(LevelBandOf("Early Years (R-2)"), 1);
    EXPECT_EQ(LevelBandOf("early years r-2"), 1);
    EXPECT_EQ(LevelBandOf("Primary Years (3-5)"), 2);
    EXPECT_EQ(LevelBandOf("Middle Years (6-9, Special)"), 3);
    EXPECT_EQ(LevelBandOf("Mature"), 4);
    EXPECT_EQ(LevelBandOf(""), 4);
    EXPECT_EQ(LevelBandOf("R-2 and 3-5"), 1);  // the first marker in the order of the rule wins
}

TEST(BookRecord, SplittingTakesThePiecesBetweenTabsWhereverTheyFall) {
    // A piece per TAB-separated stretch, the last wanted one ending at its TAB; missing pieces
    // empty. Lines long enough for the search's 32-byte steps, with TABs on both sides of them.
    std::vector<std::string> lines = {"", "\t", "one", "a\tb", "\t\t\t", std::string(40, '\t')};
    for (const std::size_t at : {0, 15, 16, 31, 32, 33, 63, 64}) {
        std::string line(70, 'x');
        line[at] = '\t';
        line[at / 2] = '\t';
        lines.push_back(line);
    }
    std::string many;
    for (int i = 0; i < 25; ++i)
        many += "field" + std::to_string(i) + "\t";
    lines.push_back(many);
    for (const std::string& line : lines) {
        for (const int count : {1, 2, 12, PackedFieldCount}) {
            PackedFields expected{};
            std::size_t start = 0;
            for (int n = 0; n < count; ++n) {
                const std::size_t tab = line.find('\t', start);
                if (tab == std::string::npos) {
                    expected[n] = std::string_view(line).substr(start);
                    break;
                }
                expected[n] = std::string_view(line).substr(start, tab - start);
                start = tab + 1;
            }
            EXPECT_EQ(SplitPackedLine(line, count), expected) << line << " " << count;
        }
    }
}
