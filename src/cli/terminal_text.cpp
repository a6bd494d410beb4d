#include "cli/terminal_text.h"

#include <iconv.h>
#include <langinfo.h>

#include <array>
#include <cerrno>
#include <clocale>
#include <cstdint>
#include <vector>

namespace {

enum class Encoding { Bytes, Utf8, Other };

struct Terminal {
    Encoding encoding = Encoding::Bytes;
    std::string codeset;
};

Terminal& TheTerminal() {
    static Terminal terminal;
    return terminal;
}

// Unicode of the windows-1252 bytes 0x80 to 0x9F; the five bytes it leaves undefined stand for
// the C1 controls of the same number, so that every byte has a character and back.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t UnicodeOf(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : byte;
}

std::optional<char> Windows1252Of(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == code) return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

// The code points of well-formed UTF-8, or nothing.
std::optional<std::u32string> DecodeUtf8(std::string_view text) {
    std::u32string codes;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80                   ? 0
                          : lead >= 0xC2 && lead < 0xE0 ? 1
                          : lead >= 0xE0 && lead < 0xF0 ? 2
                          : lead >= 0xF0 && lead < 0xF5 ? 3
                                                        : -1;
        if (extra < 0 || text.size() - i <= static_cast<std::size_t>(extra)) return std::nullopt;
        char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            code = code << 6 | (next & 0x3F);
        }
        const bool overlong = (extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000);
        if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
        codes += code;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return codes;
}

void AppendUtf8(char32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The text recoded by iconv, or nothing when it cannot be.
std::optional<std::string> Recode(std::string_view text, const char* to, const char* from) {
    const iconv_t converter = ::iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::vector<char> in(text.begin(), text.end());
    std::string out(text.size() * 4 + 4, '\0');
    char* inAt = in.data();
    std::size_t inLeft = in.size();
    char* outAt = out.data();
    std::size_t outLeft = out.size();
    const std::size_t done = ::iconv(converter, &inAt, &inLeft, &outAt, &outLeft);
    ::iconv_close(converter);
    if (done == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

void UseTerminalEncoding() {
    std::setlocale(LC_CTYPE, "");
    Terminal& terminal = TheTerminal();
    terminal.codeset = ::nl_langinfo(CODESET);
    if (terminal.codeset == "UTF-8") {
        terminal.encoding = Encoding::Utf8;
    } else if (terminal.codeset == "ANSI_X3.4-1968" || terminal.codeset == "CP1252") {
        terminal.encoding = Encoding::Bytes;
    } else {
        terminal.encoding = Encoding::Other;
    }
}

std::optional<std::string> BooklistTextFromTerminal(std::string_view value) {
    const Terminal& terminal = TheTerminal();
    std::optional<std::string> utf8;
    if (terminal.encoding == Encoding::Utf8) utf8 = std::string(value);
    if (terminal.encoding == Encoding::Other)
        utf8 = Recode(value, "UTF-8", terminal.codeset.c_str());
    const std::optional<std::u32string> codes = utf8 ? DecodeUtf8(*utf8) : std::nullopt;
    if (!codes) return std::string(value);
    std::string bytes;
    for (const char32_t code : *codes) {
        const std::optional<char> byte = Windows1252Of(code);
        if (!byte) return std::nullopt;
        bytes += *byte;
    }
    return bytes;
}

std::string TerminalTextFromBooklist(std::string_view text) {
    const Terminal& terminal = TheTerminal();
    if (terminal.encoding == Encoding::Bytes) return std::string(text);
    std::string utf8;
    for (const char c : text)
        AppendUtf8(UnicodeOf(static_cast<unsigned char>(c)), utf8);
    if (terminal.encoding == Encoding::Utf8) return utf8;
    return Recode(utf8, terminal.codeset.c_str(), "UTF-8").value_or(std::string(text));
}

std::string Utf8FromWindows1252(std::string_view text) {
    std::string utf8;
    for (const char c : text)
        AppendUtf8(UnicodeOf(static_cast<unsigned char>(c)), utf8);
    return utf8;
}

bool IsUtf8(std::string_view text) {
    return DecodeUtf8(text).has_value();
}
