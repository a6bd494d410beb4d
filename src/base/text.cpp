#include "base/text.h"

#include <algorithm>
#include <limits>

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = UpperAsciiChar(c);
    return upper;
}

std::string_view TrimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool ContainsIgnoreCase(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return true;
    if (needle.size() > haystack.size()) return false;
    const char first = LowerAsciiChar(needle[0]);
    const std::size_t last = haystack.size() - needle.size();
    for (std::size_t at = 0; at <= last; ++at) {
        if (LowerAsciiChar(haystack[at]) != first) continue;
        std::size_t i = 1;
        while (i < needle.size() && LowerAsciiChar(haystack[at + i]) == LowerAsciiChar(needle[i])) {
            ++i;
        }
        if (i == needle.size()) return true;
    }
    return false;
}

int CompareIgnoreCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(LowerAsciiChar(a[i]));
        const auto y = static_cast<unsigned char>(LowerAsciiChar(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::int64_t ReadWholeNumber(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        const int digit = text[at] - '0';
        if (value > (limit - digit) / 10) return 0;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

std::string FormatThousands(std::int64_t count) {
    const bool negative = count < 0;
    std::string digits = std::to_string(count);
    if (negative) digits.erase(0, 1);
    std::string grouped;
    grouped.reserve(digits.size() + digits.size() / 3 + 1);
    const std::size_t lead = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    grouped.append(digits, 0, lead);
    for (std::size_t at = lead; at < digits.size(); at += 3) {
        grouped += ',';
        grouped.append(digits, at, 3);
    }
    return negative ? "-" + grouped : grouped;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> columns;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        columns.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) return columns;
        start = tab + 1;
    }
}
