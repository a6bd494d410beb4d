#include "booklist/matching_indexes.h"

#include <algorithm>
#include <array>

#include "base/text.h"
#include "booklist/book_record.h"

namespace {

// The room made for the texts of one expected entry.
constexpr std::size_t ExpectedEntryText = 64;

// One entry given to the indexes: its texts stand one after another in the entry text, in the
// order of `sizes`.
struct GivenEntry {
    std::int64_t id;
    bool idLoadedBefore;
    std::array<std::size_t, 5> sizes;  // id text, title key, surname key, series key, level
};

// The entries are kept as given, and entered in the tables only when a table is first looked at:
// a load for an export or a listing never matches, and a comparison reads the entries themselves
// into tables of its own, so that neither pays for hash tables of every entry. The series tables
// are entered apart from the author tables, as a comparison looks only at them.
struct IndexState {
    MatchingIndexes indexes;
    std::vector<GivenEntry> given;
    std::string givenText;
    std::size_t authorsEntered = 0;  // entries entered in the author tables
    std::size_t seriesEntered = 0;   // the same for the series tables
    bool anyIdGivenAgain = false;
    std::size_t reserved = 0;
};

// Never destroyed, like the booklist they index: freeing every node at exit would only cost time.
IndexState& State() {
    static IndexState& state = *new IndexState;
    return state;
}

// The entry under `key`, made with an empty value when there is none; the key is copied only
// then, as most lookups find a key entered before.
template <typename Value>
Value& EntryAt(TextTable<Value>& table, std::string_view key) {
    auto found = table.find(key);
    if (found == table.end()) found = table.try_emplace(std::string(key)).first;
    return found->second;
}

// Calls `visit` with the entries given from the `from`th on.
template <typename Visit>
void VisitGiven(std::size_t from, Visit&& visit) {
    const IndexState& state = State();
    std::string_view text = state.givenText;
    for (std::size_t i = 0; i < state.given.size(); ++i) {
        const GivenEntry& given = state.given[i];
        IndexedEntry entry{given.id, given.idLoadedBefore, {}, {}, {}, {}, {}};
        std::string_view* const piece[] = {&entry.idText, &entry.titleKey, &entry.surnameKey,
                                           &entry.seriesKey, &entry.level};
        for (std::size_t p = 0; p < given.sizes.size(); ++p) {
            *piece[p] = text.substr(0, given.sizes[p]);
            text.remove_prefix(given.sizes[p]);
        }
        if (i >= from) visit(entry);
    }
}

void EnterAuthor(MatchingIndexes& indexes, const IndexedEntry& entry) {
    auto& ids = EntryAt(indexes.AuthorIndex, entry.surnameKey);
    if (!entry.idLoadedBefore || std::find(ids.begin(), ids.end(), entry.id) == ids.end()) {
        ids.push_back(entry.id);
    }
    std::string key;
    key.reserve(entry.surnameKey.size() + entry.titleKey.size());
    key.append(entry.surnameKey).append(entry.titleKey);
    indexes.AuthorTitleIndex.insert_or_assign(std::move(key), std::string(entry.idText));
}

void EnterSeries(MatchingIndexes& indexes, const IndexedEntry& entry) {
    if (entry.seriesKey.empty()) return;
    EntryAt(indexes.SeriesLevelIndex, entry.seriesKey) = entry.level;
    EntryAt(indexes.SeriesAuthorIndex, entry.seriesKey) = entry.surnameKey;
}

// The indexes with every entry given so far in the author tables.
MatchingIndexes& AuthorIndexes() {
    IndexState& state = State();
    MatchingIndexes& indexes = state.indexes;
    if (state.authorsEntered == state.given.size()) return indexes;
    if (state.authorsEntered == 0) {
        indexes.AuthorTitleIndex.reserve(state.reserved);
        indexes.AuthorIndex.reserve(state.reserved / 4);
    }
    VisitGiven(state.authorsEntered,
               [&](const IndexedEntry& entry) { EnterAuthor(indexes, entry); });
    state.authorsEntered = state.given.size();
    return indexes;
}

// The same for the series tables.
MatchingIndexes& SeriesIndexes() {
    IndexState& state = State();
    MatchingIndexes& indexes = state.indexes;
    if (state.seriesEntered == state.given.size()) return indexes;
    VisitGiven(state.seriesEntered,
               [&](const IndexedEntry& entry) { EnterSeries(indexes, entry); });
    state.seriesEntered = state.given.size();
    return indexes;
}

void Add(std::int64_t id, std::string_view idText, std::string_view titleKey,
         std::string_view surnameKey, std::string_view seriesKey, std::string_view level,
         bool idLoadedBefore) {
    IndexState& state = State();
    GivenEntry& entry = state.given.emplace_back();
    entry.id = id;
    entry.idLoadedBefore = idLoadedBefore;
    state.anyIdGivenAgain |= idLoadedBefore;
    std::size_t i = 0;
    for (const std::string_view text : {idText, titleKey, surnameKey, seriesKey, level}) {
        state.givenText += text;
        entry.sizes[i++] = text.size();
    }
}

std::string_view Find(const TextTable<std::string>& table, std::string_view key) {
    const auto found = table.find(key);
    return found == table.end() ? std::string_view() : std::string_view(found->second);
}

}  // namespace

const MatchingIndexes& Indexes() {
    SeriesIndexes();
    return AuthorIndexes();
}

void ForEachIndexedEntry(const std::function<void(const IndexedEntry&)>& visit) {
    VisitGiven(0, visit);
}

std::size_t IndexedEntryCount() {
    return State().given.size();
}

bool AnyIdIndexedAgain() {
    return State().anyIdGivenAgain;
}

void ClearMatchingIndexes() {
    State() = IndexState{};
}

void ReserveMatchingIndexes(std::size_t entries) {
    IndexState& state = State();
    state.reserved = std::max(state.reserved, entries);
    state.given.reserve(entries);
    // An entry's keys, id and level are a good part of its line, less than this.
    state.givenText.reserve(entries * ExpectedEntryText);
}

void IndexBookEntry(const BookRecord& record, bool idLoadedBefore) {
    Add(record.id, std::to_string(record.id), record.titleKey, record.surnameKey, record.seriesKey,
        record.level, idLoadedBefore);
}

void IndexBookEntry(const PackedFields& entry, bool idLoadedBefore) {
    // The id of a packed line is plain decimal, the same text the record's number gives.
    Add(ReadWholeNumber(entry[FieldId]), entry[FieldId], entry[FieldTitleKey],
        entry[FieldSurnameKey], entry[FieldSeriesKey], entry[FieldLevel], idLoadedBefore);
}

const std::vector<std::int64_t>& FindAuthorIds(std::string_view surnameKey) {
    static const std::vector<std::int64_t> none;
    const auto& table = AuthorIndexes().AuthorIndex;
    const auto found = table.find(surnameKey);
    return found == table.end() ? none : found->second;
}

std::string_view FindAuthorTitle(std::string_view surnameKey, std::string_view titleKey) {
    std::string key;
    key.reserve(surnameKey.size() + titleKey.size());
    key.assign(surnameKey).append(titleKey);
    return Find(AuthorIndexes().AuthorTitleIndex, key);
}

std::string_view FindSeriesLevel(std::string_view seriesKey) {
    return Find(SeriesIndexes().SeriesLevelIndex, seriesKey);
}

std::string_view FindSeriesAuthor(std::string_view seriesKey) {
    return Find(SeriesIndexes().SeriesAuthorIndex, seriesKey);
}
