#pragma once
#include <optional>
#include <string>
#include <string_view>

// The two encodings of the program's text: the booklist's world (the list, "Matches.tul",
// exports, print) is windows-1252, passed through byte for byte; what is shown of a catalogue,
// and the review of a comparison, is UTF-8. Every windows-1252 byte has a character: the five the
// code page leaves undefined stand for the C1 controls of the same number, so that text goes to
// UTF-8 and back unchanged.

// The Unicode character of a windows-1252 byte.
char32_t UnicodeOfWindows1252(unsigned char byte);
// The windows-1252 byte of a character, or nothing when the code page has none.
std::optional<char> Windows1252Of(char32_t code);

// The characters of well-formed UTF-8, or nothing.
std::optional<std::u32string> DecodeUtf8(std::string_view text);
void AppendUtf8(char32_t code, std::string& out);
bool IsUtf8(std::string_view text);
// No byte above 0x7F: the same text in every encoding the program meets.
bool IsPlainAscii(std::string_view text);

std::string Utf8FromWindows1252(std::string_view text);
// UTF-8 in windows-1252; a character the code page lacks, or a byte that is no UTF-8, becomes "?".
std::string Windows1252FromUtf8(std::string_view text);
