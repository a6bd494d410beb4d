#include "app/booklist.h"

#include "app/booklist_state.h"
#include "app/filter_state.h"
#include "base/text.h"
#include "compare/matching_indexes.h"

namespace {
struct BooklistState {
    BooklistTable table;
    std::string version;
    std::vector<std::string> categories;
    std::vector<std::string> formats;
    LevelNameTable levels;
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
    ResetFilterState();
}

std::string_view LookupBookLine(std::string_view idText) {
    const auto& table = State().table;
    const auto found = table.find(idText);
    return found == table.end() ? std::string_view() : std::string_view(found->second);
}

BookRecord LookupBookRecord(std::string_view idText) {
    return UnpackBookRecord(LookupBookLine(idText));
}

void StoreBookRecord(const BookRecord& record) {
    State().table.insert_or_assign(std::to_string(record.id), PackBookRecord(record));
}

bool MarkBookMatched(std::string_view idText, std::string_view callNumber) {
    const auto found = State().table.find(idText);
    if (found == State().table.end()) return false;
    BookRecord record = UnpackBookRecord(found->second);
    record.matched = 1;
    record.callNumber = callNumber;
    found->second = PackBookRecord(record);
    return true;
}

void ClearAllMatches() {
    for (auto& [idText, packed] : State().table) {
        const PackedFields fields = SplitPackedLine(packed);
        if (ReadWholeNumber(fields[FieldMatched]) == 0 && fields[FieldCallNumber].empty()) continue;
        BookRecord record = UnpackBookRecord(packed);
        record.matched = 0;
        record.callNumber.clear();
        packed = PackBookRecord(record);
    }
}

// What only the loader changes.

void BeginBooklistLoad(std::string version) {
    BooklistState& state = State();
    state.version = std::move(version);
    state.levels.count = 0;
    state.table.clear();
}

bool StoreLoadedLine(std::string idText, std::string packed) {
    bool added = false;
    StoreLoadedEntry(std::move(idText), std::move(packed), added);
    return added;
}

std::string_view StoreLoadedEntry(std::string idText, std::string packed, bool& added) {
    const auto [stored, isNew] =
        State().table.insert_or_assign(std::move(idText), std::move(packed));
    added = isNew;
    return stored->second;
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
