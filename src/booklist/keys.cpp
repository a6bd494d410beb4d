#include "booklist/keys.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/folded_letters.h"
#include "base/text_encoding.h"

std::string NormaliseKey(std::string_view text) {
    std::string key;
    NormaliseKeyInto(text, key);
    return key;
}

namespace {

// What each byte becomes in a key: itself upper-cased for a letter or digit, 0 for an apostrophe
// or asterisk (left out), a space for anything else.
// "&" is marked in the table, and the text read again with the word in its place: it is rare.
constexpr char AndMark = '\x01';
constexpr auto KeyBytes = [] {
    std::array<char, 256> bytes{};
    for (int c = 0; c < 256; ++c) {
        const int upper = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
        const bool kept = (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9');
        bytes[c] = (c == '\'' || c == '*') ? '\0' : kept ? static_cast<char>(upper) : ' ';
    }
    bytes['&'] = AndMark;
    return bytes;
}();

// The key of plain text: its accented letters already folded, its other bytes as they are.
// False, nothing appended, for a text with a byte above 0x7F, unless such bytes are to count as
// spaces (after folding, letters of other scripts).
bool AppendKeyOfFolded(std::string_view text, std::string& out, bool highBytesAsSpaces);

}  // namespace

void NormaliseKeyInto(std::string_view text, std::string& key) {
    key.clear();
    AppendNormalisedKey(text, key);
}

void AppendNormalisedKey(std::string_view text, std::string& out) {
    if (AppendKeyOfFolded(text, out, false)) return;
    AppendKeyOfFolded(FoldLetters(Utf8FromWindows1252(text)), out, true);
}

bool AppendNormalisedKeyOfAscii(std::string_view text, std::string& out) {
    return AppendKeyOfFolded(text, out, false);
}

void AppendNormalisedKeyOfUtf8(std::string_view text, std::string& out) {
    if (AppendKeyOfFolded(text, out, false)) return;
    AppendKeyOfFolded(FoldLetters(text), out, true);
}

namespace {

bool AppendKeyOfFolded(std::string_view text, std::string& out, bool highBytesAsSpaces) {
    // Every title and surname of a comparison passes here: the bytes are mapped through a table
    // and runs of spaces closed up in one pass, without a branch per byte.
    const std::size_t start = out.size();
    out.resize(start + text.size());
    char* const key = out.data() + start;
    const auto mapped = [](char c) { return KeyBytes[static_cast<unsigned char>(c)]; };

    std::size_t i = 0;
    while (i < text.size() && mapped(text[i]) == '\0')
        ++i;
    // One leading article, looked for before any trimming: "(The Hobbit)" keeps its THE.
    const bool mayStartWithArticle = i < text.size() && mapped(text[i]) != ' ';
    // Runs of spaces become one; spaces at the start go, and one at the end goes below.
    std::size_t kept = 0;
    bool afterSpace = true;
    unsigned seen = 0;  // every byte ORed, for a high bit
    bool and_ = false;
    for (; i < text.size(); ++i) {
        const char c = mapped(text[i]);
        seen |= static_cast<unsigned char>(text[i]);
        and_ |= c == AndMark;
        const bool space = c == ' ';
        const bool left = c == '\0';
        key[kept] = c;
        kept += !left & !(space & afterSpace);
        afterSpace = space | (afterSpace & left);
    }
    if ((seen >= 0x80 && !highBytesAsSpaces) || and_) {
        out.resize(start);
        if (seen >= 0x80 && !highBytesAsSpaces) return false;
        std::string withAnd;
        for (const char c : text)
            withAnd += c == '&' ? std::string_view(" AND ") : std::string_view(&c, 1);
        return AppendKeyOfFolded(withAnd, out, highBytesAsSpaces);
    }

    const std::string_view closed(key, kept);
    std::size_t from = 0;
    if (mayStartWithArticle) {
        if (closed.starts_with("A "))
            from = 2;
        else if (closed.starts_with("AN "))
            from = 3;
        else if (closed.starts_with("THE "))
            from = 4;
    }
    std::size_t end = kept;
    if (end > from && key[end - 1] == ' ') --end;
    if (from > 0 && end > from) std::memmove(key, key + from, end - from);
    out.resize(start + (end > from ? end - from : 0));
    return true;
}

}  // namespace

std::uint64_t KeyPairBits(std::string_view key) {
    std::uint64_t bits = 0;
    for (std::size_t i = 1; i < key.size(); ++i) {
        const unsigned pair =
            static_cast<unsigned char>(key[i - 1]) * 31u + static_cast<unsigned char>(key[i]);
        bits |= std::uint64_t{1} << (pair & 63);
    }
    return bits;
}

bool KeyHoldsWords(std::string_view key, std::string_view words) {
    for (std::size_t at = key.find(words); at != std::string_view::npos;
         at = key.find(words, at + 1)) {
        const std::size_t end = at + words.size();
        if ((at == 0 || key[at - 1] == ' ') && (end == key.size() || key[end] == ' ')) return true;
    }
    return false;
}

int CompareTitleKeys(std::string_view a, std::string_view b) {
    const int order = NormaliseKey(a).compare(NormaliseKey(b));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

std::string_view SurnamePart(std::string_view author) {
    return author.substr(0, author.find(','));
}
