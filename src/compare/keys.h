#pragma once
#include <string>
#include <string_view>

// Reduces a text to a matching key: capital letters, digits and single spaces, without
// apostrophes and asterisks and without one leading "A", "AN" or "THE".
std::string NormaliseKey(std::string_view text);
// The same into `key`, reusing its storage, for loops over many texts.
void NormaliseKeyInto(std::string_view text, std::string& key);
// The key of `text` appended to `out`, for lines built piece by piece; `text` must not lie in
// `out`.
void AppendNormalisedKey(std::string_view text, std::string& out);

// Orders two titles by their keys, byte by byte: 1, -1 or 0.
int CompareTitleKeys(std::string_view a, std::string_view b);

// The surname part of an author: the text before the first ",", or all of it.
std::string_view SurnamePart(std::string_view author);
