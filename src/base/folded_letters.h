#pragma once
#include <string>
#include <string_view>

// UTF-8 text with its letters folded to plain capitals: an accented letter, whether composed with
// its letter or followed by a combining mark, becomes its base letter, and a letter the Latin
// alphabet writes as two becomes two (ß SS, Æ AE, Œ OE; Ø O, Ł L), by ICU's transliterator. Other
// scripts stay as they are, in capitals.
std::string FoldLetters(std::string_view utf8);
