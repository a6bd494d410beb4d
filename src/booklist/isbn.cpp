#include "booklist/isbn.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool InLeadingRun(char c) {
    return IsDigit(c) || c == 'X' || c == 'x' || c == '-';
}

}  // namespace

namespace {

std::uint64_t Isbn13NumberOf(std::string_view value, bool spacesInside) {
    std::uint64_t number = 0;
    int length = 0;  // of the leading run, hyphens dropped
    int xAt = -1;    // where an X stands in it
    for (const char c : value) {
        if (IsDigit(c)) {
            if (length < 13) number = number * 10 + static_cast<std::uint64_t>(c - '0');
        } else if (c == 'X' || c == 'x') {
            if (xAt < 0) xAt = length;
        } else if (c == ' ' && spacesInside) {
            continue;
        } else if (c != '-') {
            break;
        }
        if (c != '-' && ++length > 13) return 0;
    }
    if (length == 13 && xAt < 0) return number;
    // Ten characters: nine digits and a check character, an X only there.
    if (length != 10 || (xAt >= 0 && xAt != 9)) return 0;
    const std::uint64_t nine = xAt == 9 ? number : number / 10;
    std::uint64_t twelve = 978000000000ULL + nine;
    int sum = 0;
    for (int i = 0; i < 12; ++i, twelve /= 10)
        sum += static_cast<int>(twelve % 10) * (i % 2 == 0 ? 3 : 1);
    return (978000000000ULL + nine) * 10 + static_cast<std::uint64_t>((10 - sum % 10) % 10);
}

}  // namespace

namespace {

// Eight ASCII bytes, the first in the low byte, as the number their digits write, or -1 when one
// of them is not a digit. Every ISBN of a catalogue's records is read: the digits are checked and
// summed eight at a time.
std::int64_t EightDigits(const char* text) {
    std::uint64_t word;
    std::memcpy(&word, text, 8);
    if constexpr (std::endian::native != std::endian::little) word = __builtin_bswap64(word);
    constexpr std::uint64_t High = 0xF0F0F0F0F0F0F0F0ULL;
    if (((word & High) | (((word + 0x0606060606060606ULL) & High) >> 4)) != 0x3333333333333333ULL)
        return -1;
    word -= 0x3030303030303030ULL;
    word = word * 10 + (word >> 8);  // pairs of digits
    constexpr std::uint64_t Pairs = 0x000000FF000000FFULL;
    return static_cast<std::int64_t>(((word & Pairs) * (100 + (1000000ULL << 32)) +
                                      ((word >> 16 & Pairs) * (1 + (10000ULL << 32)))) >>
                                     32);
}

}  // namespace

std::uint64_t Isbn13Number(std::string_view value) {
    // The common case, thirteen digits that end the run, is read as two overlapping runs of eight.
    if (value.size() >= 13 && (value.size() == 13 || !InLeadingRun(value[13]))) {
        const std::int64_t first = EightDigits(value.data());
        const std::int64_t last = first < 0 ? -1 : EightDigits(value.data() + 5);
        if (last >= 0)
            return static_cast<std::uint64_t>(first) * 100000 +
                   static_cast<std::uint64_t>(last % 100000);
    }
    return Isbn13NumberOf(value, false);
}

std::uint64_t Isbn13NumberOfGroups(std::string_view value) {
    return Isbn13NumberOf(value, true);
}

void AppendIsbnKeys(std::string_view column, std::string& out) {
    const auto append = [&](std::uint64_t isbn) {
        if (isbn == 0) return false;
        char digits[24];
        const char* const end = std::to_chars(digits, digits + sizeof digits, isbn).ptr;
        out.append(digits, static_cast<std::size_t>(end - digits));
        out += ';';
        return true;
    };
    for (std::size_t start = 0; start < column.size();) {
        // A plain loop: the search for any of a set of bytes tries the set at every byte.
        std::size_t end = start;
        while (end < column.size() && column[end] != ';' && column[end] != ',')
            ++end;
        const std::string_view item = column.substr(start, end - start);
        start = end + 1;
        // Booklists write one ISBN in groups of digits ("978 0 7868 0877 9") as well as several
        // apart: the item read whole first, then word by word.
        if (item.find(' ') == std::string_view::npos ? append(Isbn13Number(item))
                                                     : append(Isbn13NumberOfGroups(item)))
            continue;
        for (std::size_t at = 0; at < item.size();) {
            const std::size_t space = std::min(item.find(' ', at), item.size());
            append(Isbn13Number(item.substr(at, space - at)));
            at = space + 1;
        }
    }
}
