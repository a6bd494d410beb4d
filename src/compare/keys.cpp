#include "compare/keys.h"

#include <array>

std::string NormaliseKey(std::string_view text) {
    std::string key;
    NormaliseKeyInto(text, key);
    return key;
}

namespace {

// What each byte becomes in a key: itself upper-cased for a letter or digit, 0 for an apostrophe
// or asterisk (left out), a space for anything else.
constexpr auto KeyBytes = [] {
    std::array<char, 256> bytes{};
    for (int c = 0; c < 256; ++c) {
        const int upper = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
        const bool kept = (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9');
        bytes[c] = (c == '\'' || c == '*') ? '\0' : kept ? static_cast<char>(upper) : ' ';
    }
    return bytes;
}();

}  // namespace

void NormaliseKeyInto(std::string_view text, std::string& key) {
    key.clear();
    AppendNormalisedKey(text, key);
}

void AppendNormalisedKey(std::string_view text, std::string& out) {
    // Every title of a comparison passes here: the bytes are mapped through a table into room
    // made beforehand, without a test per byte.
    const std::size_t start = out.size();
    out.resize(start + text.size());
    char* const key = out.data() + start;
    std::size_t size = 0;
    for (const char c : text) {
        const char mapped = KeyBytes[static_cast<unsigned char>(c)];
        key[size] = mapped;
        size += mapped != '\0';
    }

    // One leading article, looked for before any trimming: "(The Hobbit)" keeps its THE.
    const std::string_view mapped(key, size);
    std::size_t from = 0;
    if (mapped.starts_with("A "))
        from = 2;
    else if (mapped.starts_with("AN "))
        from = 3;
    else if (mapped.starts_with("THE "))
        from = 4;

    // Runs of spaces become one; spaces at either end go.
    std::size_t kept = 0;
    bool spacePending = false;
    for (std::size_t i = from; i < size; ++i) {
        if (key[i] == ' ') {
            spacePending = kept > 0;
            continue;
        }
        if (spacePending) key[kept++] = ' ';
        spacePending = false;
        key[kept++] = key[i];
    }
    out.resize(start + kept);
}

int CompareTitleKeys(std::string_view a, std::string_view b) {
    const int order = NormaliseKey(a).compare(NormaliseKey(b));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

std::string_view SurnamePart(std::string_view author) {
    return author.substr(0, author.find(','));
}
