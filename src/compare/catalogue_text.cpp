#include "compare/catalogue_text.h"

#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <array>
#include <cctype>

#include "base/named_values.h"
#include "base/text_encoding.h"
#include "compare/marc8_text.h"

namespace {

// In the order of CatalogueEncoding.
constexpr std::array<const char*, 3> EncodingNames = {"UTF-8", "MARC-8", "windows-1252"};

// Bytes that MARC-8's character sets leave without a character.
bool UndefinedInMarc8(unsigned char byte) {
    return (byte >= 0x80 && byte <= 0x87) || (byte >= 0x8A && byte <= 0x8C) ||
           (byte >= 0x8F && byte <= 0xA0) || byte == 0xAF || byte == 0xBB || byte == 0xBE ||
           byte == 0xBF || (byte >= 0xC9 && byte <= 0xDF) || byte == 0xFC || byte == 0xFD ||
           byte == 0xFF;
}

// A byte after which a MARC-8 combining mark (0xE0 to 0xFE) would have no letter to sit on: the
// end of a subfield, field or record, a space or ASCII punctuation.
bool EndsAMark(char next) {
    const auto byte = static_cast<unsigned char>(next);
    return byte == 0x1D || byte == 0x1E || byte == 0x1F || byte == ' ' ||
           (byte < 0x80 && std::ispunct(byte));
}

// UTF-8 composed as NFC by ICU; the text as it was when ICU refuses it.
std::string Composed(std::string text) {
    if (IsPlainAscii(text)) return text;
    UErrorCode error = U_ZERO_ERROR;
    const UNormalizer2* const nfc = unorm2_getNFCInstance(&error);
    std::u16string wide(text.size() + 1, u'\0');
    int32_t wideLength = 0;
    u_strFromUTF8(wide.data(), static_cast<int32_t>(wide.size()), &wideLength, text.data(),
                  static_cast<int32_t>(text.size()), &error);
    // Composing never lengthens a text by more than a few times.
    std::u16string composed(3 * static_cast<std::size_t>(wideLength) + 1, u'\0');
    const int32_t composedLength = unorm2_normalize(nfc, wide.data(), wideLength, composed.data(),
                                                    static_cast<int32_t>(composed.size()), &error);
    std::string out(4 * static_cast<std::size_t>(composedLength) + 1, '\0');
    int32_t outLength = 0;
    u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &outLength, composed.data(),
                composedLength, &error);
    if (U_FAILURE(error)) return text;
    out.resize(static_cast<std::size_t>(outLength));
    return out;
}

}  // namespace

const char* CatalogueEncodingName(CatalogueEncoding encoding) {
    return NameOf(EncodingNames, encoding);
}

std::optional<CatalogueEncoding> CatalogueEncodingFromName(std::string_view name) {
    return ValueNamed<CatalogueEncoding>(EncodingNames, name);
}

CatalogueEncoding DecideCatalogueEncoding(std::string_view record) {
    if (IsPlainAscii(record) || IsUtf8(record)) return CatalogueEncoding::Utf8;
    if (record.find('\x1b') != std::string_view::npos) return CatalogueEncoding::Marc8;
    for (std::size_t i = 0; i < record.size(); ++i) {
        const auto byte = static_cast<unsigned char>(record[i]);
        if (UndefinedInMarc8(byte)) return CatalogueEncoding::Windows1252;
        if (byte >= 0xE0 && byte <= 0xFE && (i + 1 == record.size() || EndsAMark(record[i + 1])))
            return CatalogueEncoding::Windows1252;
    }
    return CatalogueEncoding::Marc8;
}

std::string CatalogueTextAsUtf8(std::string_view text, CatalogueEncoding encoding) {
    if (IsPlainAscii(text)) return std::string(text);
    switch (encoding) {
        case CatalogueEncoding::Utf8:
            // A text cut from a valid record is valid, unless the cut fell inside a character.
            return Composed(IsUtf8(text) ? std::string(text) : Utf8FromWindows1252(text));
        case CatalogueEncoding::Marc8:
            if (std::optional<std::string> decoded = Utf8FromMarc8(text))
                return Composed(std::move(*decoded));
            break;
        case CatalogueEncoding::Windows1252:
            break;
    }
    return Composed(Utf8FromWindows1252(text));
}

std::string CatalogueTextForBooklist(std::string_view text, CatalogueEncoding encoding) {
    if (IsPlainAscii(text) || encoding == CatalogueEncoding::Windows1252) return std::string(text);
    return Windows1252FromUtf8(CatalogueTextAsUtf8(text, encoding));
}
