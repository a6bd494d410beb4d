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
ReadResult ReadFrom(std::FILE* file, std::size_t mapWindowBytes = 0) {
    std::rewind(file);
    LineReader reader(file, mapWindowBytes);
    ReadResult result;
    Line line;
    while (reader.Next(line)) {
        result.lines.emplace_back(line);
        result.positions.push_back(reader.Position());
    }
    return result;
}

// Reads the lines into strings and again as views, each from blocks and through the map a page
// at a time, so that lines and their ends fall across windows too; all four must agree.
ReadResult ReadAll(const std::string& bytes) {
    std::FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fflush(file);
    const ReadResult result = ReadFrom<std::string>(file);
    for (const std::size_t window : {std::size_t{0}, MappedWindow::PageBytes()}) {
        for (const ReadResult& other :
             {ReadFrom<std::string_view>(file, window), ReadFrom<std::string>(file, window)}) {
            EXPECT_EQ(other.lines, result.lines) << window;
            EXPECT_EQ(other.positions, result.positions) << window;
        }
    }
    std::fclose(file);
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
