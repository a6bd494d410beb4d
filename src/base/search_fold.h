#pragma once
#include <string>
#include <string_view>

// Booklist text as a search compares it: windows-1252 bytes with case and accents folded away,
// so that "eloise" finds "Éloïse" and "aesop" finds "Æsop". Letters fold to lower-case ASCII
// (ß to "ss", Æ to "ae", Œ to "oe", Þ to "th"), the curly quotes and dashes to their plain forms;
// every other byte stays as it is.

// Appends the folded form of `text` to `out`.
void AppendSearchFolded(std::string_view text, std::string& out);
std::string SearchFolded(std::string_view text);
