#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Byte-wise text helpers. All text is 8-bit and never decoded: only the ASCII letters change case.

inline char LowerAsciiChar(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
inline char UpperAsciiChar(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

std::string UpperAscii(std::string_view text);
std::string_view TrimSpaces(std::string_view text);

// Whether `needle` occurs anywhere in `haystack`, ASCII letters compared without regard to case.
bool ContainsIgnoreCase(std::string_view haystack, std::string_view needle);

// Byte comparison with A-Z folded to a-z: negative, 0 or positive.
int CompareIgnoreCase(std::string_view a, std::string_view b);

// Reads a whole number leniently: leading spaces and tabs skipped, an optional sign, then decimal
// digits up to the first other character; no digits reads as 0. A number past the 64-bit range
// also reads as 0: held at the range's end it would name another book.
std::int64_t ReadWholeNumber(std::string_view text);

// A count with "," between groups of three digits: 1234567 gives 1,234,567.
std::string FormatThousands(std::int64_t count);

// The TAB-separated columns of a line; one column for a line without a TAB.
std::vector<std::string_view> SplitTabs(std::string_view line);
