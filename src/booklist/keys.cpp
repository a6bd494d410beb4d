#include "booklist/keys.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/byte_scan.h"
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

// The bytes of a key as they are written: runs of spaces closed up, apostrophes left out, and
// what the text held that the key cannot say here (a high byte, an "&").
struct KeyBytesWritten {
    char* key;
    std::size_t kept = 0;
    bool afterSpace = true;
    unsigned seen = 0;  // every byte ORed, for a high bit
    bool and_ = false;

    // One byte at a time, without a branch per byte.
    void Add(const char* text, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            const char c = KeyBytes[static_cast<unsigned char>(text[i])];
            seen |= static_cast<unsigned char>(text[i]);
            and_ |= c == AndMark;
            const bool space = c == ' ';
            const bool left = c == '\0';
            key[kept] = c;
            kept += !left & !(space & afterSpace);
            afterSpace = space | (afterSpace & left);
        }
    }

#if defined(__SSE2__)
    // Sixteen bytes at once when none is left out or is an "&" or a high byte, and no two spaces
    // meet, as in most texts; the others go byte by byte. `size` may be less than sixteen: `text`
    // then holds sixteen readable bytes, and only `size` of them count. `key` has room for
    // sixteen.
    void AddSixteen(const char* text, std::size_t size) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
        const auto within = [&](char low, char high) {
            return _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8(static_cast<char>(low - 1))),
                                 _mm_cmplt_epi8(bytes, _mm_set1_epi8(static_cast<char>(high + 1))));
        };
        const auto equal = [&](char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
        const auto maskOf = [](__m128i lanes) {
            return static_cast<unsigned>(_mm_movemask_epi8(lanes));
        };
        const __m128i lower = within('a', 'z');
        const __m128i kept16 =
            _mm_or_si128(_mm_or_si128(lower, within('A', 'Z')), within('0', '9'));
        const unsigned counted = size >= 16 ? 0xFFFFu : (1u << size) - 1;
        const unsigned special =
            maskOf(_mm_or_si128(_mm_or_si128(equal('\''), equal('*')), equal('&'))) | maskOf(bytes);
        const unsigned spaceMask = ~maskOf(kept16) & counted;
        const unsigned doubled = spaceMask & (spaceMask << 1 | static_cast<unsigned>(afterSpace));
        // Spaces that run on to the last byte counted, as the " /" ending most catalogue titles,
        // are cut where the run's second space stands; two spaces met elsewhere go byte by byte.
        const unsigned cut = doubled == 0 ? 16 : static_cast<unsigned>(std::countr_zero(doubled));
        if ((special & counted) != 0 || (doubled != 0 && doubled != (counted >> cut << cut))) {
            Add(text, size);
            return;
        }
        const __m128i upper = _mm_sub_epi8(bytes, _mm_and_si128(lower, _mm_set1_epi8(0x20)));
        const __m128i mapped = _mm_or_si128(_mm_and_si128(kept16, upper),
                                            _mm_andnot_si128(kept16, _mm_set1_epi8(' ')));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(key + kept), mapped);
        kept += std::min<std::size_t>(size, cut);
        afterSpace = (spaceMask >> (size - 1) & 1) != 0;
    }
#endif
};

// The last bytes of a text, fewer than sixteen, with two loads that may overlap instead of a call
// to copy a length known only now: every key has such a tail.
void CopyFewerThanSixteen(char* to, const char* from, std::size_t size) {
    if (size >= 8) {
        std::uint64_t head, last;
        std::memcpy(&head, from, 8);
        std::memcpy(&last, from + size - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + size - 8, &last, 8);
    } else if (size >= 4) {
        std::uint32_t head, last;
        std::memcpy(&head, from, 4);
        std::memcpy(&last, from + size - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + size - 4, &last, 4);
    } else if (size > 0) {
        to[0] = from[0];
        to[size / 2] = from[size / 2];
        to[size - 1] = from[size - 1];
    }
}

bool AppendKeyOfFolded(std::string_view text, std::string& out, bool highBytesAsSpaces) {
    // Every title and surname of a comparison passes here.
    const std::size_t start = out.size();
    constexpr std::size_t Slack = 16;  // for the last store of sixteen bytes
    out.resize(start + text.size() + Slack);
    const auto mapped = [](char c) { return KeyBytes[static_cast<unsigned char>(c)]; };

    std::size_t i = 0;
    while (i < text.size() && mapped(text[i]) == '\0')
        ++i;
    // One leading article, looked for before any trimming: "(The Hobbit)" keeps its THE.
    const bool mayStartWithArticle = i < text.size() && mapped(text[i]) != ' ';
    // Runs of spaces become one; spaces at the start go, and one at the end goes below.
    KeyBytesWritten written{out.data() + start};
#if defined(__SSE2__)
    for (; i + 16 <= text.size(); i += 16)
        written.AddSixteen(text.data() + i, 16);
    if (i < text.size()) {
        char tail[16] = {};
        CopyFewerThanSixteen(tail, text.data() + i, text.size() - i);
        written.AddSixteen(tail, text.size() - i);
    }
#else
    written.Add(text.data() + i, text.size() - i);
#endif
    char* const key = written.key;
    const std::size_t kept = written.kept;
    if ((written.seen >= 0x80 && !highBytesAsSpaces) || written.and_) {
        out.resize(start);
        if (written.seen >= 0x80 && !highBytesAsSpaces) return false;
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
        bits |= BitAt(pair);
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

void EntryKeysInto(std::string_view title, std::string_view author, std::string_view series,
                   std::string& titleKey, std::string& surnameKey, std::string& seriesKey) {
    NormaliseKeyInto(title, titleKey);
    NormaliseKeyInto(SurnamePart(author), surnameKey);
    NormaliseKeyInto(series, seriesKey);
}
