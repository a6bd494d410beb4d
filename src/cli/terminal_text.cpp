#include "cli/terminal_text.h"

#include <iconv.h>
#include <langinfo.h>

#include <array>
#include <cerrno>
#include <clocale>
#include <cstdint>
#include <vector>

#include "base/text_encoding.h"

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
        AppendUtf8(UnicodeOfWindows1252(static_cast<unsigned char>(c)), utf8);
    if (terminal.encoding == Encoding::Utf8) return utf8;
    return Recode(utf8, terminal.codeset.c_str(), "UTF-8").value_or(std::string(text));
}
