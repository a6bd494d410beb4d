#include "compare/tagging.h"

#include <algorithm>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// An indicator read as a count: a blank or any other non-digit counts as 0.
int IndicatorValue(char c) {
    return IsDigit(c) ? c - '0' : 0;
}

// A series field exactly as TagRecord writes it: tag 440 or 490, indicators "1" and "0", and one
// "a" subfield holding one of the four level texts. Anything else is the library's own.
bool IsOwnSeriesEntry(std::string_view text) {
    const std::uint32_t tag = TagCode(text);
    if (tag != TagCode("440") && tag != TagCode("490")) return false;
    if (text.size() < 7 || text.substr(3, 2) != "10" || text[5] != SubfieldDelimiter ||
        text[6] != 'a') {
        return false;
    }
    const std::string_view value = text.substr(7);
    for (int band = 1; band <= 4; ++band) {
        if (value == SeriesTextForBand(band)) return true;
    }
    return false;
}

}  // namespace

void RemoveEarlierTags(CatalogueRecord& record) {
    std::string rebuilt;
    // Every field is examined: fields are not always in tag order (Library of Congress records
    // carry their 9xx fields before the title), and a star left behind would gain another each run.
    for (std::size_t k = 0; k < record.FieldCount(); ++k) {
        const std::string_view text = record.Field(k);
        const std::uint32_t tag = TagCode(text);
        if (tag == TagCode("082") || tag == TagCode("084") || tag == TagCode("089") ||
            tag == TagCode("099")) {
            if (text.find('*') == std::string_view::npos) continue;
            rebuilt.assign(text);
            std::erase(rebuilt, '*');
            record.ReplaceField(k, rebuilt);
        } else if (tag == TagCode("245") && text.find('*') == 7) {
            rebuilt.assign(text.substr(0, 4));
            rebuilt += static_cast<char>('0' + std::max(IndicatorValue(text[4]) - 1, 0));
            rebuilt.append(text.substr(5, 2));
            rebuilt.append(text.substr(8));
            record.ReplaceField(k, rebuilt);
        }
    }
}

const char* SeriesTextForBand(int levelBand) {
    switch (levelBand) {
        case 1:
            return "TUL R-2";
        case 2:
            return "TUL 3-5";
        case 3:
            return "TUL 6-9";
        default:
            return "TUL Mature";
    }
}

RebuildResult TagRecord(CatalogueRecord& record, int levelBand, const TaggingOptions& options,
                        std::string& bytes) {
    if (options.TagSeriesWithLevel) {
        for (std::size_t k = record.FieldCount(); k-- > 0;) {
            if (IsOwnSeriesEntry(record.Field(k))) record.RemoveField(k);
        }
    }
    std::string_view seriesTag = "440";
    std::string rebuilt;
    for (std::size_t k = 0; k < record.FieldCount(); ++k) {
        const std::string_view text = record.Field(k);
        const std::uint32_t tag = TagCode(text);
        if (tag == TagCode("490")) seriesTag = "490";
        if (tag != TagCode("245") || !options.TagTitlesWithStar) continue;
        // The second indicator counts the characters to pass over when filing; it has one digit,
        // so a 9 stays 9 while the star still goes in.
        const char second = text.size() > 4 ? text[4] : ' ';
        rebuilt.assign(text.substr(0, 4));
        rebuilt += static_cast<char>('0' + std::min(IndicatorValue(second) + 1, 9));
        rebuilt.append(text.size() > 5 ? text.substr(5, 2) : std::string_view());
        rebuilt += '*';
        rebuilt.append(text.size() > 7 ? text.substr(7) : std::string_view());
        record.ReplaceField(k, rebuilt);
    }
    if (options.TagSeriesWithLevel) {
        std::string field(seriesTag);
        field += "10";
        field += SubfieldDelimiter;
        field += 'a';
        field += SeriesTextForBand(levelBand);
        std::size_t at = 0;
        while (at < record.FieldCount() && record.Field(at).substr(0, 3) < "500")
            ++at;
        record.InsertField(at, field);
    }
    return RebuildMarcRecord(record, bytes);
}
