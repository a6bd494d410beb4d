#include "base/text_encoding.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

// Unicode of the windows-1252 bytes 0x80 to 0x9F.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The length of the UTF-8 sequence at the start of `text` and its character; 0 when it is not
// well-formed.
std::size_t NextUtf8(std::string_view text, char32_t& code) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const int extra = lead < 0x80                   ? 0
                      : lead >= 0xC2 && lead < 0xE0 ? 1
                      : lead >= 0xE0 && lead < 0xF0 ? 2
                      : lead >= 0xF0 && lead < 0xF5 ? 3
                                                    : -1;
    if (extra < 0 || text.size() <= static_cast<std::size_t>(extra)) return 0;
    code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[k]);
        if ((next & 0xC0) != 0x80) return 0;
        code = code << 6 | (next & 0x3F);
    }
    const bool overlong = (extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000);
    if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return static_cast<std::size_t>(extra) + 1;
}

}  // namespace

char32_t UnicodeOfWindows1252(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : byte;
}

std::optional<char> Windows1252Of(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == code) return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

std::optional<std::u32string> DecodeUtf8(std::string_view text) {
    std::u32string codes;
    char32_t code = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = NextUtf8(text.substr(i), code);
        if (length == 0) return std::nullopt;
        codes += code;
        i += length;
    }
    return codes;
}

void AppendUtf8(char32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsUtf8(std::string_view text) {
    char32_t code = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = NextUtf8(text.substr(i), code);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

bool IsPlainAscii(std::string_view text) {
    // Every catalogue text a comparison keys passes here: eight bytes at a time.
    std::uint64_t high = 0;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        high |= word;
    }
    for (; i < text.size(); ++i)
        high |= static_cast<unsigned char>(text[i]);
    return (high & 0x8080808080808080ULL) == 0;
}

std::string Utf8FromWindows1252(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (const char c : text)
        AppendUtf8(UnicodeOfWindows1252(static_cast<unsigned char>(c)), utf8);
    return utf8;
}

std::string Windows1252FromUtf8(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    char32_t code = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = NextUtf8(text.substr(i), code);
        bytes += length == 0 ? '?' : Windows1252Of(code).value_or('?');
        i += length == 0 ? 1 : length;
    }
    return bytes;
}
