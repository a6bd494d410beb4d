#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Reads a text file line by line in large blocks. A line ends at CR LF, a lone LF, a lone CR or a
// NUL byte; the terminator is not part of the line. A last line without terminator still counts.
class LineReader {
  public:
    explicit LineReader(std::FILE* file);

    // The next line into `line`; false at the end of the file.
    bool Next(std::string& line);
    // Bytes consumed so far, the terminator of the last line included.
    std::int64_t Position() const { return position_; }

  private:
    bool Refill();

    std::FILE* file_;
    std::vector<char> buffer_;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
    std::int64_t position_ = 0;
    bool eof_ = false;
};
