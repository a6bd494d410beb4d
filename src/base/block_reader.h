#pragma once
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "base/mapped_window.h"

// Reads a file forward in large blocks, for the readers of booklist lines and catalogue records:
// the caller looks at what the block has left, takes what it wants and says how much it used.
//
// With a map window size, a regular file is read through the memory map, a window at a time,
// without copying its bytes; a pipe, a stream in memory or a file the system will not map is read
// into the block. A file cut short while mapped ends the reading where it was cut.
class BlockReader {
  public:
    BlockReader(std::FILE* file, std::size_t blockBytes, std::size_t mapWindowBytes = 0);
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // The unread rest of the block in hand, the next block read when it is used up; empty at
    // the end of the file. Valid until the next call that reads.
    std::string_view Available() {
        if (start_ == end_) Refill();
        return {data_ + start_, end_ - start_};
    }
    // Marks the first `count` bytes of Available() as used.
    void Consume(std::size_t count) {
        start_ += count;
        position_ += static_cast<std::int64_t>(count);
    }
    bool AtEnd() { return window_.CutShort() || Available().empty(); }
    // The next byte, or -1 at the end of the file.
    int Next() {
        if (AtEnd()) return -1;
        ++position_;
        return static_cast<unsigned char>(data_[start_++]);
    }
    // Bytes used so far.
    std::int64_t Position() const { return position_; }
    // Whether GoBackTo can work: not while a mapped file is read.
    bool CanGoBack() const { return windowBytes_ == 0; }
    // Goes back to `position`, a place already read, to read on from there; false when the file
    // cannot go back (a pipe, or a mapped file) and nothing changed.
    bool GoBackTo(std::int64_t position);

  private:
    void Refill();
    // Maps the next window; false when the file is to be read the plain way from here on.
    bool MapNext();

    std::FILE* file_;
    std::vector<char> buffer_;
    const char* data_ = nullptr;  // the block in hand: the buffer or the mapped window
    std::size_t start_ = 0;
    std::size_t end_ = 0;
    std::int64_t position_ = 0;
    bool eof_ = false;

    MappedWindow window_;
    std::size_t windowBytes_ = 0;  // 0: the file is read into the buffer
    std::int64_t mapOffset_ = 0;   // where the next window begins in the file
};
