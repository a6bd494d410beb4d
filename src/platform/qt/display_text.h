#pragma once
#include <QString>
#include <string>
#include <string_view>

// Every crossing of text between the core's 8-bit strings and Qt.
//
// Booklist and catalogue text is 8-bit text in the Windows code page, Windows-1252: it is shown
// decoded as such (0x93 is a left double quotation mark, 0x80 the euro sign), and what the user
// picks comes back encoded the same way, byte for byte, so that it compares equal with the
// booklist's own bytes. The five bytes the code page leaves undefined map to the C1 controls and
// back, so every byte 0x00-0xFF survives the round trip.
QString ToDisplay(std::string_view text);
std::string FromDisplay(const QString& text);

// File paths are not booklist text: they are the file system's own bytes (UTF-8 here).
QString PathToDisplay(const std::string& path);
std::string PathFromDisplay(const QString& path);

// A message text built by the core joins fixed ASCII wording, file paths and booklist text. A path
// stands on a line of its own or ends a line of ASCII wording, never beside booklist text, so the
// text is decoded line by line: a line that is valid UTF-8 and not plain ASCII is a path's line
// and is decoded as UTF-8; every other line is booklist text, decoded as Windows-1252.
QString MessageToDisplay(std::string_view text);
