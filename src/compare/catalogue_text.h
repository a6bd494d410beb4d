#pragma once
#include <optional>
#include <string>
#include <string_view>

// The character encodings catalogue records come in. Leader position 9 is not to be trusted:
// real files hold UTF-8 records that say MARC-8 and MARC-8 records that say UTF-8, and records
// copied from elsewhere in windows-1252.
enum class CatalogueEncoding { Utf8, Marc8, Windows1252 };

// "UTF-8", "MARC-8" or "windows-1252", as the review names it.
const char* CatalogueEncodingName(CatalogueEncoding encoding);
std::optional<CatalogueEncoding> CatalogueEncodingFromName(std::string_view name);

// The encoding of a record, decided over its bytes: UTF-8 when they are valid UTF-8; else MARC-8
// when they hold an escape; else windows-1252 when they hold a byte MARC-8 leaves undefined, or a
// byte of MARC-8's combining marks where no letter follows it; else MARC-8.
CatalogueEncoding DecideCatalogueEncoding(std::string_view record);

// Text taken from a record of `encoding` as UTF-8, composed (NFC), as it is shown and reviewed.
std::string CatalogueTextAsUtf8(std::string_view text, CatalogueEncoding encoding);
// The same text as the booklist keeps it: windows-1252, "?" for a character the code page lacks.
std::string CatalogueTextForBooklist(std::string_view text, CatalogueEncoding encoding);
