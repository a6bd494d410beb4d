// ISBNs as the ISBN test compares them.
#include "booklist/isbn.h"

#include <gtest/gtest.h>

TEST(Isbn, TheLeadingRunAsItsIsbn13) {
    const std::pair<const char*, std::uint64_t> cases[] = {
        {"9780786808779", 9780786808779},
        {"978-0-7868-0877-9", 9780786808779},
        {"0786808772", 9780786808779},         // ten characters: the ISBN-13 they stand for
        {"0-13-699900-X", 9780136999003},      // X ends an ISBN-10
        {"091145909x (v. 1)", 9780911459098},  // a qualifier after the number
        {"964-5620-16-3 (nid.)", 9789645620163},
        {"9780786808779 (pbk.)", 9780786808779},
        {"97807868/877:", 0},  // the bytes just below and above the digits
        {"978078680877X", 0},
        {"078680877", 0},       // nine digits
        {"97807868087791", 0},  // fourteen
        {"X786808772", 0},      // X only at the end of ten
        {"(pbk.) 0786808772", 0},
        {"", 0},
    };
    for (const auto& [value, isbn] : cases)
        EXPECT_EQ(Isbn13Number(value), isbn) << value;

    std::string keys;
    AppendIsbnKeys("978 0 7868 0877 9;0786808772, 0-13-699900-X 9780060933258  nonsense", keys);
    EXPECT_EQ(keys, "9780786808779;9780786808779;9780136999003;9780060933258;");
}
