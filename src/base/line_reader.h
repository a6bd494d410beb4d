#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/block_reader.h"

// Reads a text file line by line in large blocks. A line ends at CR LF, a lone LF, a lone CR or a
// NUL byte; the terminator is not part of the line. A last line without terminator still counts.
class LineReader {
  public:
    // With a map window size a regular file is read through the memory map, as BlockReader
    // does, without copying its bytes into a block.
    explicit LineReader(std::FILE* file, std::size_t mapWindowBytes = 0);

    // The next line into `line`; false at the end of the file.
    bool Next(std::string& line);
    // The same as a view, valid until the next call: into the block read when the line lies whole
    // in it, which spares a copy of almost every line.
    bool Next(std::string_view& line);
    // The bytes read ahead and not yet taken as lines, the next block read when there are none:
    // a first look at the file, which takes nothing.
    std::string_view Ahead() { return blocks_.Available(); }
    // Bytes consumed so far, the terminator of the last line included.
    std::int64_t Position() const { return blocks_.Position(); }
    // Gives back the room a long line took, once the caller has done with its view.
    void ReleaseLongLine();

  private:
    // The length of the line that begins here, read ahead; nothing is consumed. -1 when the file
    // cannot be read again from here.
    std::int64_t MeasureLine();

    BlockReader blocks_;
    std::string spill_;  // a line that runs over the end of a block
};
