#include "compare/marc_writer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "base/byte_positions.h"
#include "base/byte_scan.h"

namespace {

// The directory's and leader's numbers, written for every field of every record written: two
// digits at a time.
constexpr auto DigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

void PutDigits(char* at, std::size_t width, std::size_t value) {
    std::size_t i = width;
    for (; i >= 2; i -= 2, value /= 100)
        std::memcpy(at + i - 2, &DigitPairs[2 * (value % 100)], 2);
    if (i == 1) at[0] = static_cast<char>('0' + value % 10);
}

// A byte that would end a field or record early, or (NUL) end it for a reader of this program.
bool IsFraming(char c) {
    return c == RecordTerminator || c == FieldTerminator || c == '\0';
}

// Whether a text holds a framing byte. Every byte of every record written is looked at, so
// eight at a time.
bool HoldsFraming(std::string_view text) {
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        const std::uint64_t word = LoadWord(text.data() + at);
        if ((MatchingBytes(word, RecordTerminator) | MatchingBytes(word, FieldTerminator) |
             MatchingBytes(word, 0)) != 0) {
            return true;
        }
    }
    for (; at < text.size(); ++at) {
        if (IsFraming(text[at])) return true;
    }
    return false;
}

bool LeaderKeepsFraming(std::string_view leader) {
    for (std::size_t i = 0; i < leader.size() && i < 24; ++i) {
        const bool rewritten = i <= 4 || (i >= 12 && i <= 16);
        if (!rewritten && IsFraming(leader[i])) return false;
    }
    return true;
}

}  // namespace

RebuildResult WriteMarcRecord(std::string_view leader, std::span<const FieldToWrite> fields,
                              std::string& bytes) {
    bytes.clear();
    if (!LeaderKeepsFraming(leader)) return RebuildResult::Malformed;

    // The contents are looked at once they are written, all in one pass; a record refused for
    // its length is refused for a framing byte instead when a field up to the one too long has
    // one, as a field-by-field look would find.
    const auto tooLongUpTo = [&](std::size_t count) {
        for (std::size_t k = 0; k < count; ++k) {
            if (HoldsFraming(fields[k].content)) return RebuildResult::Malformed;
        }
        return RebuildResult::TooLong;
    };
    std::size_t contentBytes = 0;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        if (HoldsFraming(fields[k].tag)) return RebuildResult::Malformed;
        const std::size_t length = fields[k].content.size() + 1;
        if (length > MaxFieldBytes) return tooLongUpTo(k + 1);
        contentBytes += length;
    }
    const std::size_t base = 24 + fields.size() * 12 + 1;
    const std::size_t total = base + contentBytes + 1;
    if (total > MaxRecordLength) return tooLongUpTo(fields.size());

    bytes.resize(total);
    char* const out = bytes.data();
    const std::size_t leaderBytes = std::min<std::size_t>(leader.size(), 24);
    std::memcpy(out, leader.data(), leaderBytes);
    std::memset(out + leaderBytes, ' ', 24 - leaderBytes);
    PutDigits(out, 5, total);
    PutDigits(out + 12, 5, base);

    char* entry = out + 24;
    char* data = out + base;
    std::size_t start = 0;
    for (const FieldToWrite& field : fields) {
        const std::size_t length = field.content.size() + 1;
        std::memcpy(entry, field.tag.data(), 3);
        PutDigits(entry + 3, 4, length);
        PutDigits(entry + 7, 5, start);
        entry += 12;
        std::memcpy(data, field.content.data(), field.content.size());
        data[field.content.size()] = FieldTerminator;
        data += length;
        start += length;
    }
    *entry = FieldTerminator;
    *data = RecordTerminator;
    // Each field ends in the one terminator written after it: one more in the data, a record
    // terminator or a NUL, came from a content.
    const std::size_t dataBytes = contentBytes;
    thread_local std::vector<std::size_t> ends;
    ends.resize(fields.size() + 1);
    if (FindFirstOf(out + base, dataBytes, RecordTerminator, '\0', '\0') != dataBytes ||
        FindBytePositions(out + base, 0, dataBytes, FieldTerminator, ends.data(), ends.size()) !=
            fields.size()) {
        bytes.clear();
        return RebuildResult::Malformed;
    }
    return RebuildResult::Rebuilt;
}
