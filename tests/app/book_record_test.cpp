#include "app/book_record.h"

#include <gtest/gtest.h>

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
