#include "booklist/booklist.h"

#include "base/text.h"
#include "booklist/keys.h"

std::string_view Booklist::LookupLine(std::string_view idText) const {
    const std::string* const line = table_.Find(idText);
    return line == nullptr ? std::string_view() : std::string_view(*line);
}

BookRecord Booklist::LookupRecord(std::string_view idText) const {
    BookRecord record = UnpackBookRecord(LookupLine(idText));
    if (!linesHoldKeys_ && record.id != 0) {
        // The record is the same whichever way its booklist was loaded.
        EntryKeysInto(record.title, record.author, record.series, record.titleKey,
                      record.surnameKey, record.seriesKey);
    }
    return record;
}

void Booklist::StoreRecord(const BookRecord& record) {
    if (record.matched != 0 || !record.callNumber.empty()) ++marked_;
    table_.InsertOrAssign(std::to_string(record.id), PackBookRecord(record));
}

namespace {

// Sets the call number and the matched flag of a stored line. They are its last two fields, so
// the rest of the line is kept as it stands, which is what unpacking it and packing it again
// gives; the call number is held as packing holds it, each TAB and line break a space.
void SetMatchFields(std::string& packed, std::string_view callNumber, std::int64_t matched) {
    const std::size_t flagTab = packed.rfind('\t');
    const std::size_t callTab =
        flagTab == std::string::npos || flagTab == 0 ? flagTab : packed.rfind('\t', flagTab - 1);
    if (callTab == std::string::npos) {  // not a stored line: no known layout to keep
        BookRecord record = UnpackBookRecord(packed);
        record.matched = matched;
        record.callNumber = callNumber;
        packed = PackBookRecord(record);
        return;
    }
    packed.resize(callTab + 1);
    for (const char c : callNumber)
        packed += (c == '\t' || c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
    packed += '\t';
    packed += std::to_string(matched);
}

}  // namespace

bool Booklist::MarkMatched(std::string_view idText, std::string_view callNumber) {
    return !MarkMatchedEntry(idText, callNumber).empty();
}

std::string_view Booklist::MarkMatchedEntry(std::string_view idText, std::string_view callNumber) {
    std::string* const line = table_.Find(idText);
    if (line == nullptr) return {};
    SetMatchFields(*line, callNumber, 1);
    ++marked_;
    return *line;
}

void Booklist::ClearAllMatches() {
    if (marked_ == 0) return;
    marked_ = 0;
    for (auto& [idText, packed] : table_) {
        // Most entries are not matched: only the last two fields are looked at.
        const std::string_view line = packed;
        const std::size_t flagTab = line.rfind('\t');
        const bool withCallNumber =
            flagTab != std::string_view::npos && flagTab > 0 && line[flagTab - 1] != '\t';
        if (ReadWholeNumber(line.substr(flagTab + 1)) == 0 && !withCallNumber) continue;
        SetMatchFields(packed, {}, 0);
    }
}

// What only the loader changes.

std::string_view Booklist::StoreLoadedEntry(std::string idText, std::string packed, bool& added) {
    const auto [stored, isNew] = table_.InsertOrAssign(std::move(idText), std::move(packed));
    added = isNew;
    return *stored;
}

void Booklist::Reserve(std::size_t entries, bool withIndexes) {
    table_.reserve(entries);
    if (withIndexes) indexes_.Reserve(entries);
}

void Booklist::FillLevelNames() {
    levels_.names[0] = AllLevelsText;
    levels_.names[1] = "Early Years (R-2)";
    levels_.names[2] = "Primary Years (3-5)";
    levels_.names[3] = "Middle Years (6-9, Special)";
    levels_.names[4] = "Mature";
    levels_.count = 4;
}

void Booklist::SetNameLists(std::vector<std::string> categories, std::vector<std::string> formats) {
    categories_ = std::move(categories);
    formats_ = std::move(formats);
}
