#include "base/line_reader.h"

#include <cstring>

#include "base/byte_scan.h"

namespace {
constexpr std::size_t BlockSize = 1 << 16;

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r' || c == '\0';
}

// The length of the text before the first LF, CR or NUL in [begin, begin + size).
std::size_t LengthBeforeLineEnd(const char* begin, std::size_t size) {
    std::size_t at = 0;
    for (; at + 8 <= size; at += 8) {
        const std::uint64_t word = LoadWord(begin + at);
        const std::uint64_t ends =
            MatchingBytes(word, '\n') | MatchingBytes(word, '\r') | MatchingBytes(word, '\0');
        if (ends != 0) return at + FirstMarkedByte(ends);
    }
    while (at < size && !IsLineEnd(begin[at]))
        ++at;
    return at;
}
}  // namespace

LineReader::LineReader(std::FILE* file) : file_(file), buffer_(BlockSize) {}

bool LineReader::Refill() {
    if (eof_) return false;
    const std::size_t got = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    start_ = 0;
    end_ = got;
    if (got == 0) eof_ = true;
    return got > 0;
}

bool LineReader::Next(std::string& line) {
    line.clear();
    bool any = false;
    for (;;) {
        if (start_ == end_ && !Refill()) return any;
        const char* begin = buffer_.data() + start_;
        const std::size_t available = end_ - start_;
        const std::size_t length = LengthBeforeLineEnd(begin, available);
        line.append(begin, length);
        start_ += length;
        position_ += static_cast<std::int64_t>(length);
        any = true;
        if (length == available) continue;  // the line goes on in the next block

        const char terminator = buffer_[start_];
        ++start_;
        ++position_;
        // The line is copied out, so the block may be refilled to see whether an LF follows.
        if (terminator == '\r' && (start_ < end_ || Refill()) && buffer_[start_] == '\n') {
            ++start_;
            ++position_;
        }
        return true;
    }
}
