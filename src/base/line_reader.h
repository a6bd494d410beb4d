#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "base/block_reader.h"

// Reads a text file line by line in large blocks. A line ends at CR LF, a lone LF, a lone CR or a
// NUL byte; the terminator is not part of the line. A last line without terminator still counts.
class LineReader {
  public:
    explicit LineReader(std::FILE* file);

    // The next line into `line`; false at the end of the file.
    bool Next(std::string& line);
    // Bytes consumed so far, the terminator of the last line included.
    std::int64_t Position() const { return blocks_.Position(); }

  private:
    BlockReader blocks_;
};
