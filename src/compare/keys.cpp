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
    // Every title of a comparison passes here: the bytes are mapped through a table into room
    // made beforehand, without a test per byte.
    key.resize(text.size());
    char* const out = key.data();
    std::size_t size = 0;
    for (const char c : text) {
        const char mapped = KeyBytes[static_cast<unsigned char>(c)];
        out[size] = mapped;
        size += mapped != '\0';
    }
    const std::string_view mapped(out, size);

    // One leading article, looked for before any trimming: "(The Hobbit)" keeps its THE.
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
        if (out[i] == ' ') {
            spacePending = kept > 0;
            continue;
        }
        if (spacePending) out[kept++] = ' ';
        spacePending = false;
        out[kept++] = out[i];
    }
    key.resize(kept);
}

int CompareTitleKeys(std::string_view a, std::string_view b) {
    const int order = NormaliseKey(a).compare(NormaliseKey(b));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

std::string_view SurnamePart(std::string_view author) {
    return author.substr(0, author.find(','));
}
