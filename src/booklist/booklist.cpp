#include "booklist/booklist.h"

#include "base/text.h"
#include "booklist/booklist_state.h"
#include "booklist/matching_indexes.h"

namespace {
struct BooklistState {
    BooklistTable table;
    std::string version;
    std::vector<std::string> categories;
    std::vector<std::string> formats;
    LevelNameTable levels;
    // Entries marked as matched or given a call number since the last load or clearing: none
    // when a comparison starts on a booklist loaded without its matches.
    std::size_t marked = 0;
};

// Never destroyed: freeing every entry at exit would only cost time, and the memory is still
// reachable from here for leak checkers.
BooklistState& State() {
    static BooklistState& state = *new BooklistState;
    return state;
}
}  // namespace

const BooklistTable& Booklist() {
    return State().table;
}
const std::string& BooklistVersion() {
    return State().version;
}
void SetBooklistVersion(std::string version) {
    State().version = std::move(version);
}
const std::vector<std::string>& CategoryList() {
    return State().categories;
}
const std::vector<std::string>& FormatList() {
    return State().formats;
}
const LevelNameTable& LevelNames() {
    return State().levels;
}

void ResetBooklistState() {
    State() = BooklistState{};
    ClearMatchingIndexes();
}

std::string_view LookupBookLine(std::string_view idText) {
    const std::string* const line = State().table.Find(idText);
    return line == nullptr ? std::string_view() : std::string_view(*line);
}

BookRecord LookupBookRecord(std::string_view idText) {
    return UnpackBookRecord(LookupBookLine(idText));
}

void StoreBookRecord(const BookRecord& record) {
    if (record.matched != 0 || !record.callNumber.empty()) ++State().marked;
    State().table.InsertOrAssign(std::to_string(record.id), PackBookRecord(record));
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

bool MarkBookMatched(std::string_view idText, std::string_view callNumber) {
    return !MarkBookMatchedEntry(idText, callNumber).empty();
}

std::string_view MarkBookMatchedEntry(std::string_view idText, std::string_view callNumber) {
    std::string* const line = State().table.Find(idText);
    if (line == nullptr) return {};
    SetMatchFields(*line, callNumber, 1);
    ++State().marked;
    return *line;
}

void ClearAllMatches() {
    if (State().marked == 0) return;
    State().marked = 0;
    for (auto& [idText, packed] : State().table) {
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

void BeginBooklistLoad(std::string version) {
    BooklistState& state = State();
    state.version = std::move(version);
    state.levels.count = 0;
    state.table.clear();
    state.marked = 0;
}

std::string_view StoreLoadedEntry(std::string idText, std::string packed, bool& added) {
    const auto [stored, isNew] = State().table.InsertOrAssign(std::move(idText), std::move(packed));
    added = isNew;
    return *stored;
}

void ReserveBooklist(std::size_t entries) {
    State().table.reserve(entries);
}

void FillLevelNames() {
    LevelNameTable& levels = State().levels;
    levels.names[0] = AllLevelsText;
    levels.names[1] = "Early Years (R-2)";
    levels.names[2] = "Primary Years (3-5)";
    levels.names[3] = "Middle Years (6-9, Special)";
    levels.names[4] = "Mature";
    levels.count = 4;
}

void SetNameLists(std::vector<std::string> categories, std::vector<std::string> formats) {
    State().categories = std::move(categories);
    State().formats = std::move(formats);
}
