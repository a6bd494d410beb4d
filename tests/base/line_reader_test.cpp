#include "base/line_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {
struct ReadResult {
    std::vector<std::string> lines;
    std::vector<std::int64_t> positions;
};

ReadResult ReadAll(const std::string& bytes) {
    std::FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    LineReader reader(file);
    ReadResult result;
    std::string line;
    while (reader.Next(line)) {
        result.lines.push_back(line);
        result.positions.push_back(reader.Position());
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
