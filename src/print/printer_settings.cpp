#include "print/printer_settings.h"

#include <algorithm>
#include <cctype>

#include "base/text.h"

namespace {

struct SettingsKey {
    const char* name;
    std::int16_t PrinterSettingsRecord::*field;
    std::uint16_t flag;
};

constexpr SettingsKey Keys[] = {
    {"ORIENTATION", &PrinterSettingsRecord::orientation, SettingOrientation},
    {"PAPERSIZE", &PrinterSettingsRecord::paperSize, SettingPaperSize},
    {"PAPERLENGTH", &PrinterSettingsRecord::paperLength, SettingPaperLength},
    {"PAPERWIDTH", &PrinterSettingsRecord::paperWidth, SettingPaperWidth},
    {"SCALE", &PrinterSettingsRecord::scale, SettingScale},
    {"COPIES", &PrinterSettingsRecord::copies, SettingCopies},
    {"DEFAULTSOURCE", &PrinterSettingsRecord::defaultSource, SettingDefaultSource},
    {"PRINTQUALITY", &PrinterSettingsRecord::printQuality, SettingPrintQuality},
    {"COLOR", &PrinterSettingsRecord::color, SettingColor},
    {"DUPLEX", &PrinterSettingsRecord::duplex, SettingDuplex},
    {"YRESOLUTION", &PrinterSettingsRecord::yResolution, SettingYResolution},
    {"TTOPTION", &PrinterSettingsRecord::ttOption, SettingTtOption},
    {"COLLATE", &PrinterSettingsRecord::collate, SettingCollate},
};

long long DigitsInBase(std::string_view text, int base) {
    long long value = 0;
    for (const char c : text) {
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            break;
        }
        if (digit >= base) break;
        value = value * base + digit;
        if (value > 0xFFFFFFFFLL) break;  // far past any 16-bit field
    }
    return value;
}

}  // namespace

long long ReadSettingsValue(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t'))
        ++start;
    text.remove_prefix(start);
    if (!text.empty() && text.front() == '$') return DigitsInBase(text.substr(1), 16);
    if (!text.empty() && text.front() == '%') return DigitsInBase(text.substr(1), 2);
    return ReadWholeNumber(text);
}

void ApplyPrinterSettings(const std::string& settings, PrinterSettingsRecord& record) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = settings.find(',', start);
        const std::string_view item = std::string_view(settings).substr(
            start, comma == std::string::npos ? std::string::npos : comma - start);
        const std::size_t equals = item.find('=');
        std::string key(item.substr(0, equals));
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        const long long value =
            equals == std::string_view::npos ? 0 : ReadSettingsValue(item.substr(equals + 1));
        for (const SettingsKey& known : Keys) {
            if (key != known.name) continue;
            // Every field of the record is 16 bits wide, as the spooler's own record has them.
            record.*known.field = static_cast<std::int16_t>(value);
            record.fields |= known.flag;
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
}
