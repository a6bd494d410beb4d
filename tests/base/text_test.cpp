#include "base/text.h"

#include <gtest/gtest.h>

TEST(ReadWholeNumber, IsLenientLikeEveryNumberInTheProgram) {
    EXPECT_EQ(ReadWholeNumber(" 042"), 42);
    EXPECT_EQ(ReadWholeNumber("\t 7 books"), 7);
    EXPECT_EQ(ReadWholeNumber("-5"), -5);
    EXPECT_EQ(ReadWholeNumber("+12x"), 12);
    EXPECT_EQ(ReadWholeNumber("abc"), 0);
    EXPECT_EQ(ReadWholeNumber(""), 0);
    EXPECT_EQ(ReadWholeNumber("- 5"), 0);
    EXPECT_EQ(ReadWholeNumber("R-2"), 0);
    EXPECT_EQ(ReadWholeNumber("10-12"), 10);
}

TEST(ReadWholeNumber, Takes64BitNumbersAndNothingPastThem) {
    // Distinct large ids must stay distinct; one past the range names nothing.
    EXPECT_EQ(ReadWholeNumber("2147483648"), 2147483648LL);
    EXPECT_EQ(ReadWholeNumber("9223372036854775807"), 9223372036854775807LL);
    EXPECT_EQ(ReadWholeNumber("-9223372036854775807x"), -9223372036854775807LL);
    EXPECT_EQ(ReadWholeNumber("9223372036854775808"), 0);
    EXPECT_EQ(ReadWholeNumber("99999999999999999999999"), 0);
    EXPECT_EQ(ReadWholeNumber("000000000000000000000042"), 42);
}

TEST(FormatThousands, GroupsDigitsInThrees) {
    EXPECT_EQ(FormatThousands(0), "0");
    EXPECT_EQ(FormatThousands(999), "999");
    EXPECT_EQ(FormatThousands(1000), "1,000");
    EXPECT_EQ(FormatThousands(1234), "1,234");
    EXPECT_EQ(FormatThousands(999999), "999,999");
    EXPECT_EQ(FormatThousands(1234567), "1,234,567");
    EXPECT_EQ(FormatThousands(-1234), "-1,234");
}

TEST(TextHelpers, FoldOnlyAsciiLetters) {
    EXPECT_TRUE(ContainsIgnoreCase("Audio book", "Book"));
    EXPECT_TRUE(ContainsIgnoreCase("Martial arts; Sport", "Art"));
    EXPECT_FALSE(ContainsIgnoreCase("Bo", "Book"));
    EXPECT_TRUE(ContainsIgnoreCase("anything", ""));
    EXPECT_FALSE(
        ContainsIgnoreCase("\xC9t\xE9", "\xE9T\xC9"));  // bytes above 127 compare as they are
    EXPECT_EQ(CompareIgnoreCase("smith", "SMITH"), 0);
    EXPECT_LT(CompareIgnoreCase("Smith", "Smith, Jan"), 0);
    EXPECT_LT(CompareIgnoreCase("Z", "\xE9"), 0);  // unsigned: a byte above 127 sorts after letters
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("   "), "");
}
