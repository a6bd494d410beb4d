#include "compare/tagging.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// An indicator read as a count: a blank or any other non-digit counts as 0.
int IndicatorValue(char c) {
    return IsDigit(c) ? c - '0' : 0;
}

// A series field exactly as tagging writes it: tag 440 or 490, indicators "1" and "0", and one
// "a" subfield holding one of the four level texts. Anything else is the library's own.
bool IsOwnSeriesEntry(std::string_view tag, std::string_view content) {
    const std::uint32_t code = TagCode(tag);
    if (code != TagCode("440") && code != TagCode("490")) return false;
    if (content.size() < 4 || content.substr(0, 2) != "10" || content[2] != SubfieldDelimiter ||
        content[3] != 'a') {
        return false;
    }
    const std::string_view value = content.substr(4);
    for (int band = 1; band <= 4; ++band) {
        if (value == SeriesTextForBand(band)) return true;
    }
    return false;
}

}  // namespace

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

namespace {

// The content of a field as it was before an earlier run tagged it: no "*" in a call-number
// field, and no "*" leading the title, whose non-filing count goes back down by one. Every field
// is examined: fields are not always in tag order (Library of Congress records carry their 9xx
// fields before the title), and a star left behind would gain another each run. Changed
// contents are made in `made`; false when the field is as it was.
bool Untagged(std::string_view tag, std::string_view content, std::string& made) {
    const std::uint32_t code = TagCode(tag);
    if (code == TagCode("082") || code == TagCode("084") || code == TagCode("089") ||
        code == TagCode("099")) {
        if (content.find('*') == std::string_view::npos) return false;
        made.assign(content);
        std::erase(made, '*');
        return true;
    }
    if (code != TagCode("245") || content.find('*') != 4) return false;
    made.assign(content.substr(0, 1));
    made += static_cast<char>('0' + std::max(IndicatorValue(content[1]) - 1, 0));
    made.append(content.substr(2, 2));
    made.append(content.substr(5));
    return true;
}

// A title content with the star in front, after the indicators and the first subfield code. The
// second indicator counts the characters to pass over when filing; it has one digit, so a 9 stays
// 9 while the star still goes in.
void Starred(std::string_view content, std::string& made) {
    const char second = content.size() > 1 ? content[1] : ' ';
    made.assign(content.substr(0, 1));
    made += static_cast<char>('0' + std::min(IndicatorValue(second) + 1, 9));
    made.append(content.size() > 2 ? content.substr(2, 2) : std::string_view());
    made += '*';
    made.append(content.size() > 4 ? content.substr(4) : std::string_view());
}

}  // namespace

RebuildResult TagMatchedRecord(const CatalogueRecord& record, int levelBand,
                               const TaggingOptions& options, std::string& bytes) {
    // The fields are read where the record holds them; only the few that change are made anew,
    // each in a text of its own that stays in place until the record is written.
    thread_local std::vector<FieldToWrite> fields;
    thread_local std::vector<std::string> made;
    fields.clear();
    std::size_t madeCount = 0;
    const auto makeText = [&]() -> std::string& {
        if (madeCount == made.size()) made.emplace_back();
        return made[madeCount++];
    };
    // Room for every text made, so that none moves while the list points into it: at most two
    // for a field and the series entry.
    made.reserve(2 * record.FieldCount() + 1);

    std::string_view seriesTag = "440";
    for (std::size_t k = 0; k < record.FieldCount(); ++k) {
        const std::string_view tag = record.FieldTag(k);
        if (tag.size() < 3) continue;
        std::string_view content = record.FieldContent(k);
        std::string& untagged = makeText();
        if (Untagged(tag, content, untagged)) {
            content = untagged;
        } else {
            --madeCount;  // not needed: the next text made takes its place
        }
        const std::uint32_t code = TagCode(tag);
        // The series fields an earlier run wrote go first, so that a record tagged again comes
        // out as its untagged form would, not with one more series entry each run.
        if (options.TagSeriesWithLevel && IsOwnSeriesEntry(tag, content)) continue;
        if (code == TagCode("490")) seriesTag = "490";
        if (code == TagCode("245") && options.TagTitlesWithStar) {
            std::string& text = makeText();
            Starred(content, text);
            content = text;
        }
        fields.push_back({tag, content});
    }
    if (options.TagSeriesWithLevel) {
        std::string& content = makeText();
        content = "10";
        content += SubfieldDelimiter;
        content += 'a';
        content += SeriesTextForBand(levelBand);
        const auto before = std::find_if(fields.begin(), fields.end(), [](const FieldToWrite& f) {
            return f.tag >= std::string_view("500");
        });
        fields.insert(before, {seriesTag, content});
    }
    return WriteMarcRecord(record.leader, fields, bytes);
}
