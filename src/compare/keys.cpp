#include "compare/keys.h"

std::string NormaliseKey(std::string_view text) {
    std::string key;
    NormaliseKeyInto(text, key);
    return key;
}

void NormaliseKeyInto(std::string_view text, std::string& key) {
    key.clear();
    AppendNormalisedKey(text, key);
}

void AppendNormalisedKey(std::string_view text, std::string& out) {
    const std::size_t start = out.size();
    out.resize(start + text.size());
    char* const key = out.data() + start;
    std::size_t size = 0;
    for (const char c : text) {
        const char upper = (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
        if (upper == '\'' || upper == '*') continue;
        const bool kept = (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9');
        key[size++] = kept ? upper : ' ';
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
