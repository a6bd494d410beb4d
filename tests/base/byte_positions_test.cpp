#include "base/byte_positions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// Both searches against a byte-by-byte reading, with the bytes sought on either side of every
// step of the vector searches and in the tail after the last whole step.
TEST(BytePositions, FindEveryByteSoughtWhereverItFalls) {
    for (std::size_t size = 0; size <= 100; size += 11) {
        for (std::size_t at = 0; at < size; ++at) {
            std::string text(size, 'x');
            text[at] = '\t';
            text[(at * 7) % size] = '\t';
            text[size - 1 - at / 2] = '\r';

            std::vector<std::size_t> expected;
            for (std::size_t i = 1; i < size; ++i) {
                if (text[i] == '\t') expected.push_back(i);
            }
            std::vector<std::size_t> found(size + 1);
            found.resize(FindBytePositions(text.data(), 1, size, '\t', found.data(), size));
            EXPECT_EQ(found, expected) << size << " " << at;
            // A limit stops the search at that many.
            std::size_t first = 0;
            EXPECT_EQ(FindBytePositions(text.data(), 1, size, '\t', &first, 1),
                      expected.empty() ? 0u : 1u);

            EXPECT_EQ(FindFirstOf(text.data(), size, '\r', '\t', '\0'),
                      std::min(text.find('\r'), text.find('\t')))
                << size << " " << at;
            EXPECT_EQ(FindFirstOf(text.data(), size, '\r', '\t', '\t'),
                      std::min(text.find('\r'), text.find('\t')))
                << size << " " << at;
            EXPECT_EQ(FindFirstOf(text.data(), size, '\n', 'y', '\0'), size);
        }
    }
}

// Every length across the 16- and 32-byte steps, with a byte just outside the digits at every
// place, the overlapping last step included.
TEST(BytePositions, AllAsciiDigitsSeesEveryByte) {
    for (std::size_t size = 0; size <= 70; ++size) {
        const std::string digits = std::string(size, '0') + "9";
        EXPECT_TRUE(AllAsciiDigits(digits.data(), size + 1)) << size;
        for (std::size_t at = 0; at < size; ++at) {
            for (const char outside : {'/', ':', '\x80', '\0'}) {
                std::string text = digits.substr(0, size);
                text[at] = outside;
                EXPECT_FALSE(AllAsciiDigits(text.data(), size)) << size << " " << at;
            }
        }
    }
}
