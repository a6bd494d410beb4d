#include "booklist/isbn.h"

#include <algorithm>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string Isbn13Of(std::string_view value) {
    std::string isbn;
    for (const char c : value) {
        if (IsDigit(c) || c == 'X' || c == 'x') {
            isbn += c == 'x' ? 'X' : c;
        } else if (c != '-') {
            break;
        }
    }
    const auto digitsUpTo = [&](std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            if (!IsDigit(isbn[i])) return false;
        }
        return true;
    };
    if (isbn.size() == 13 && digitsUpTo(13)) return isbn;
    if (isbn.size() != 10 || !digitsUpTo(9)) return {};
    isbn = "978" + isbn.substr(0, 9);
    int sum = 0;
    for (std::size_t i = 0; i < 12; ++i)
        sum += (isbn[i] - '0') * (i % 2 == 0 ? 1 : 3);
    isbn += static_cast<char>('0' + (10 - sum % 10) % 10);
    return isbn;
}

void AppendIsbnKeys(std::string_view column, std::string& out) {
    const auto append = [&](const std::string& isbn) {
        if (isbn.empty()) return false;
        out += isbn;
        out += ';';
        return true;
    };
    for (std::size_t start = 0; start < column.size();) {
        const std::size_t end = std::min(column.find_first_of(";,", start), column.size());
        const std::string_view item = column.substr(start, end - start);
        start = end + 1;
        // Booklists write one ISBN in groups of digits ("978 0 7868 0877 9") as well as several
        // apart: the item read whole first, then word by word.
        std::string closed;
        for (const char c : item) {
            if (c != ' ') closed += c;
        }
        if (append(Isbn13Of(closed))) continue;
        for (std::size_t at = 0; at < item.size();) {
            const std::size_t space = std::min(item.find(' ', at), item.size());
            append(Isbn13Of(item.substr(at, space - at)));
            at = space + 1;
        }
    }
}
