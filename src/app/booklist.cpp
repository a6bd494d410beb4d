#include "app/booklist.h"

namespace {
struct BooklistState {
    BooklistTable table;
    std::string version;
    std::vector<std::string> categories;
    std::vector<std::string> formats;
    LevelNameTable levels;
};

BooklistState& State() {
    static BooklistState state;
    return state;
}
}  // namespace

BooklistTable& Booklist() {
    return State().table;
}
std::string& BooklistVersion() {
    return State().version;
}
std::vector<std::string>& CategoryList() {
    return State().categories;
}
std::vector<std::string>& FormatList() {
    return State().formats;
}
LevelNameTable& LevelNames() {
    return State().levels;
}

void ResetBooklistState() {
    State() = BooklistState{};
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
