#include "compare/marc_writer.h"

#include <algorithm>

#include "base/byte_scan.h"

namespace {

void PutDigits(std::string& bytes, std::size_t at, std::size_t width, std::size_t value) {
    for (std::size_t i = width; i-- > 0;) {
        bytes[at + i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
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

RebuildResult RebuildMarcRecord(const CatalogueRecord& record, std::string& bytes) {
    bytes.clear();
    if (!LeaderKeepsFraming(record.leader)) return RebuildResult::Malformed;

    std::size_t fields = 0;
    std::size_t contentBytes = 0;
    for (std::size_t k = 0; k < record.FieldCount(); ++k) {
        const std::string_view text = record.Field(k);
        if (text.size() < 3) continue;
        if (HoldsFraming(text)) return RebuildResult::Malformed;
        const std::size_t length = text.size() - 3 + 1;
        if (length > MaxFieldBytes) return RebuildResult::TooLong;
        ++fields;
        contentBytes += length;
    }
    const std::size_t base = 24 + fields * 12 + 1;
    const std::size_t total = base + contentBytes + 1;
    if (total > MaxRecordLength) return RebuildResult::TooLong;

    bytes.resize(base);
    std::copy_n(record.leader.begin(), std::min<std::size_t>(record.leader.size(), 24),
                bytes.begin());
    if (record.leader.size() < 24)
        std::fill(bytes.begin() + record.leader.size(), bytes.begin() + 24, ' ');
    PutDigits(bytes, 0, 5, total);
    PutDigits(bytes, 12, 5, base);

    std::size_t entry = 24;
    std::size_t start = 0;
    for (std::size_t k = 0; k < record.FieldCount(); ++k) {
        const std::string_view text = record.Field(k);
        if (text.size() < 3) continue;
        const std::size_t length = text.size() - 3 + 1;
        std::copy_n(text.begin(), 3, bytes.begin() + entry);
        PutDigits(bytes, entry + 3, 4, length);
        PutDigits(bytes, entry + 7, 5, start);
        entry += 12;
        start += length;
    }
    bytes[entry] = FieldTerminator;

    bytes.reserve(total);
    for (std::size_t k = 0; k < record.FieldCount(); ++k) {
        const std::string_view text = record.Field(k);
        if (text.size() < 3) continue;
        bytes.append(text.substr(3));
        bytes += FieldTerminator;
    }
    bytes += RecordTerminator;
    return RebuildResult::Rebuilt;
}
