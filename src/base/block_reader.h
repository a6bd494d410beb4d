#pragma once
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

// Reads a file forward in large blocks, for the readers of booklist lines and catalogue records:
// the caller looks at what the block has left, takes what it wants and says how much it used.
class BlockReader {
  public:
    BlockReader(std::FILE* file, std::size_t blockBytes);
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // The unread rest of the block in hand, the next block read when it is used up; empty at
    // the end of the file. Valid until the next call that reads.
    std::string_view Available() {
        if (start_ == end_) Refill();
        return {buffer_.data() + start_, end_ - start_};
    }
    // Marks the first `count` bytes of Available() as used.
    void Consume(std::size_t count) {
        start_ += count;
        position_ += static_cast<std::int64_t>(count);
    }
    bool AtEnd() { return Available().empty(); }
    // The next byte, or -1 at the end of the file.
    int Next() {
        if (AtEnd()) return -1;
        ++position_;
        return static_cast<unsigned char>(buffer_[start_++]);
    }
    // Bytes used so far.
    std::int64_t Position() const { return position_; }

  private:
    void Refill();

    std::FILE* file_;
    std::vector<char> buffer_;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
    std::int64_t position_ = 0;
    bool eof_ = false;
};
