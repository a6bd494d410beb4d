#include "booklist/isbn.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
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

std::uint64_t Isbn13Number(std::string_view value) {
    // Every record that no author test matches passes here: no text is built, and the common
    // case, thirteen digits alone or before a qualifier, is read in one short loop.
    if (value.size() >= 13) {
        std::uint64_t number = 0;
        std::size_t i = 0;
        for (; i < 13 && IsDigit(value[i]); ++i)
            number = number * 10 + static_cast<std::uint64_t>(value[i] - '0');
        if (i == 13 && (value.size() == 13 || value[13] == ' ' || value[13] == '(' ||
                        value[13] == ':' || value[13] == ';'))
            return number;
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
        const std::size_t end = std::min(column.find_first_of(";,", start), column.size());
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
