#pragma once
#include <optional>
#include <string>
#include <string_view>

// The booklist's text is windows-1252, the terminal's is the locale's (most often UTF-8). Values
// typed on the command line are turned into the booklist's bytes before they are compared, and
// booklist text shown in a message is turned back. In the C locale, and for bytes that are not
// valid in the locale's encoding, the bytes go through as they are, so that scripts passing
// windows-1252 bytes keep working. Files are never converted.

// Takes the locale's character encoding from the environment; call once at the start.
void UseTerminalEncoding();

// The value in windows-1252, or nothing when windows-1252 has no byte for one of its characters.
std::optional<std::string> BooklistTextFromTerminal(std::string_view value);

// Booklist text as the terminal shows it.
std::string TerminalTextFromBooklist(std::string_view text);
