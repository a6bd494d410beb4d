#include "app/line_reader.h"

#include <cstring>

namespace {
constexpr std::size_t BlockSize = 1 << 16;

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r' || c == '\0';
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
        std::size_t length = 0;
        while (length < available && !IsLineEnd(begin[length]))
            ++length;
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
