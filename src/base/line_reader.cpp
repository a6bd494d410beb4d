#include "base/line_reader.h"

#include "base/byte_positions.h"

namespace {
constexpr std::size_t BlockSize = 1 << 16;

// The length of the text before the first LF, CR or NUL in [begin, begin + size).
std::size_t LengthBeforeLineEnd(const char* begin, std::size_t size) {
    return FindFirstOf(begin, size, '\n', '\r', '\0');
}
}  // namespace

LineReader::LineReader(std::FILE* file, std::size_t mapWindowBytes)
    : blocks_(file, BlockSize, mapWindowBytes) {}

std::int64_t LineReader::MeasureLine() {
    const std::int64_t start = blocks_.Position();
    std::int64_t length = 0;
    for (;;) {
        const std::string_view block = blocks_.Available();
        const std::size_t part = LengthBeforeLineEnd(block.data(), block.size());
        length += static_cast<std::int64_t>(part);
        if (part < block.size() || block.empty()) break;
        blocks_.Consume(part);
    }
    return blocks_.GoBackTo(start) ? length : -1;
}

bool LineReader::Next(std::string& line) {
    line.clear();
    // A line longer than a block would otherwise grow by doubling, to up to twice its length:
    // its length is read first where the file allows, so that it takes only its own room. (A
    // mapped file's windows are large: a line longer than one grows as it is read.)
    if (const std::string_view block = blocks_.Available();
        blocks_.CanGoBack() && LengthBeforeLineEnd(block.data(), block.size()) == block.size() &&
        !block.empty()) {
        if (const std::int64_t length = MeasureLine(); length > 0)
            line.reserve(static_cast<std::size_t>(length));
    }
    bool any = false;
    for (;;) {
        const std::string_view block = blocks_.Available();
        if (block.empty()) return any;
        const std::size_t length = LengthBeforeLineEnd(block.data(), block.size());
        line.append(block.data(), length);
        any = true;
        if (length == block.size()) {  // the line goes on in the next block
            blocks_.Consume(length);
            continue;
        }
        const char terminator = block[length];
        blocks_.Consume(length + 1);
        // The line is copied out, so the next block may be read to see whether an LF follows.
        if (terminator == '\r') {
            const std::string_view rest = blocks_.Available();
            if (!rest.empty() && rest.front() == '\n') blocks_.Consume(1);
        }
        return true;
    }
}

bool LineReader::Next(std::string_view& line) {
    const std::string_view block = blocks_.Available();
    const std::size_t length = LengthBeforeLineEnd(block.data(), block.size());
    // A CR that ends the block may have its LF in the next one, which reading would overwrite
    // this block with.
    if (length + 1 < block.size() || (length + 1 == block.size() && block[length] != '\r')) {
        line = block.substr(0, length);
        const bool crLf =
            block[length] == '\r' && length + 2 <= block.size() && block[length + 1] == '\n';
        blocks_.Consume(length + (crLf ? 2 : 1));
        return true;
    }
    if (!Next(spill_)) return false;
    line = spill_;
    return true;
}

void LineReader::ReleaseLongLine() {
    if (spill_.capacity() > 16 * BlockSize) std::string().swap(spill_);
}
