#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Reduces a text to a matching key: capital letters, digits and single spaces, without
// apostrophes (’ too) and asterisks and without one leading "A", "AN" or "THE". Accented letters
// count as their base letters (é as E, ß as SS, Æ as AE), and "&" as the word "AND", so a key may
// be longer than its text. The text is the booklist's, windows-1252.
std::string NormaliseKey(std::string_view text);
// The same into `key`, reusing its storage, for loops over many texts.
void NormaliseKeyInto(std::string_view text, std::string& key);
// The key of `text` appended to `out`, for lines built piece by piece; `text` must not lie in
// `out`.
void AppendNormalisedKey(std::string_view text, std::string& out);
// The same for UTF-8 text: a catalogue record's, decoded.
void AppendNormalisedKeyOfUtf8(std::string_view text, std::string& out);
// The same for text that is plain ASCII, as most catalogue text is; false, and nothing appended,
// for a text that holds another byte.
bool AppendNormalisedKeyOfAscii(std::string_view text, std::string& out);

// The pairs of neighbouring bytes of a key, as a set of 64 bits. A key held in another has each
// of its pairs in the other's set, so one whose set is not wholly in the other's is surely not
// held in it, and the search can be spared.
std::uint64_t KeyPairBits(std::string_view key);

// Whether `words` stands in `key` as whole words: " " + key + " " holds " " + words + " ". "ON
// LISP" is not in "COMMON LISP".
bool KeyHoldsWords(std::string_view key, std::string_view words);

// Orders two titles by their keys, byte by byte: 1, -1 or 0.
int CompareTitleKeys(std::string_view a, std::string_view b);

// The surname part of a booklist author: the text before the first ",", or all of it.
std::string_view SurnamePart(std::string_view author);

// The title, surname and series keys of a booklist entry, as its packed line holds them.
void EntryKeysInto(std::string_view title, std::string_view author, std::string_view series,
                   std::string& titleKey, std::string& surnameKey, std::string& seriesKey);
