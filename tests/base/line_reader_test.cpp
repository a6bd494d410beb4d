#include "base/line_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {
struct ReadResult {
    std::vector<std::string> lines;
    std::vector<std::int64_t> positions;
};

template <typename Line>
ReadResult ReadFrom(std::FILE* file) {
    std::rewind(file);
    LineReader reader(file);
    ReadResult result;
    Line line;
    while (reader.Next(line)) {
        result.lines.emplace_back(line);
        result.positions.push_back(reader.Position());
    }
    return result;
}

// Reads the lines into strings and again as views; both must agree.
ReadResult ReadAll(const std::string& bytes) {
    std::FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    const ReadResult result = ReadFrom<std::string>(file);
    const ReadResult viewed = ReadFrom<std::string_view>(file);
    std::fclose(file);
    EXPECT_EQ(viewed.lines, result.lines);
    EXPECT_EQ(viewed.positions, result.positions);
    return result;
}
}  // namespace

TEST(LineReader, EndsLinesAtCrLfLfCrAndNul) {
    const auto read = ReadAll(std::string("a\r\nb\nc\rd\0e\r\n\r\nlast", 18));
    EXPECT_EQ(read.lines, (std::vector<std::string>{"a", "b", "c", "d", "e", "", "last"}));
    EXPECT_EQ(read.positions.back(), 18);
}

TEST(LineReader, EmptyFileHasNoLines) {
    EXPECT_TRUE(ReadAll("").lines.empty());
}

TEST(LineReader, KeepsLinesWholeAcrossBlockBoundaries) {
    // A CR at the very end of a block with its LF at the start of the next is one line end.
    const std::string first(65535, 'x');
    const std::string second(70000, 'y');
    const auto read = ReadAll(first + "\r\n" + second + "\n");
    ASSERT_EQ(read.lines.size(), 2u);
    EXPECT_EQ(read.lines[0], first);
    EXPECT_EQ(read.lines[1], second);
    EXPECT_EQ(read.positions[0], 65537);
}

TEST(LineReader, EndsAtABlockBoundaryLikeAnywhereElse) {
    // Line ends of every kind on either side of the 65536-byte block boundary.
    for (const std::string& end :
         {std::string("\n"), std::string("\r"), std::string("\r\n"), std::string(1, '\0')}) {
        for (std::size_t length = 65532; length <= 65537; ++length) {
            const std::string first(length, 'x');
            const auto read = ReadAll(first + end + "next" + end + end + "last");
            EXPECT_EQ(read.lines, (std::vector<std::string>{first, "next", "", "last"}));
        }
    }
}
