#include "compare/matching_indexes.h"

#include <algorithm>
#include <array>

#include "app/book_record.h"
#include "base/text.h"

namespace {

// One entry given to the indexes and not yet entered: its texts stand one after another in the
// pending text, in the order of `sizes`.
struct PendingEntry {
    std::int64_t id;
    bool idLoadedBefore;
    std::array<std::size_t, 5> sizes;  // id text, title key, surname key, series key, level
};

// The indexes are entered only when first looked at: a load for an export or a listing never
// matches, and spares building four hash tables of every entry.
struct IndexState {
    MatchingIndexes indexes;
    std::vector<PendingEntry> pending;
    std::string pendingText;
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

void Enter(MatchingIndexes& indexes, std::int64_t id, std::string_view idText,
           std::string_view titleKey, std::string_view surnameKey, std::string_view seriesKey,
           std::string_view level, bool idLoadedBefore) {
    auto& ids = EntryAt(indexes.AuthorIndex, surnameKey);
    if (!idLoadedBefore || std::find(ids.begin(), ids.end(), id) == ids.end()) {
        ids.push_back(id);
    }

    if (!seriesKey.empty()) {
        EntryAt(indexes.SeriesLevelIndex, seriesKey) = level;
        EntryAt(indexes.SeriesAuthorIndex, seriesKey) = surnameKey;
    }
    std::string key;
    key.reserve(surnameKey.size() + titleKey.size());
    key.append(surnameKey).append(titleKey);
    indexes.AuthorTitleIndex.insert_or_assign(std::move(key), std::string(idText));
}

// The indexes with every entry given so far.
MatchingIndexes& TheIndexes() {
    IndexState& state = State();
    if (state.pending.empty()) return state.indexes;
    MatchingIndexes& indexes = state.indexes;
    indexes.AuthorTitleIndex.reserve(state.reserved);
    indexes.AuthorIndex.reserve(state.reserved / 4);
    std::string_view text = state.pendingText;
    for (const PendingEntry& entry : state.pending) {
        std::array<std::string_view, 5> piece;
        for (std::size_t i = 0; i < piece.size(); ++i) {
            piece[i] = text.substr(0, entry.sizes[i]);
            text.remove_prefix(entry.sizes[i]);
        }
        Enter(indexes, entry.id, piece[0], piece[1], piece[2], piece[3], piece[4],
              entry.idLoadedBefore);
    }
    state.pending = {};
    state.pendingText = {};
    return indexes;
}

void Add(std::int64_t id, std::string_view idText, std::string_view titleKey,
         std::string_view surnameKey, std::string_view seriesKey, std::string_view level,
         bool idLoadedBefore) {
    IndexState& state = State();
    PendingEntry& entry = state.pending.emplace_back();
    entry.id = id;
    entry.idLoadedBefore = idLoadedBefore;
    std::size_t i = 0;
    for (const std::string_view text : {idText, titleKey, surnameKey, seriesKey, level}) {
        state.pendingText += text;
        entry.sizes[i++] = text.size();
    }
}

std::string_view Find(const TextTable<std::string>& table, std::string_view key) {
    const auto found = table.find(key);
    return found == table.end() ? std::string_view() : std::string_view(found->second);
}

}  // namespace

const MatchingIndexes& Indexes() {
    return TheIndexes();
}

void ClearMatchingIndexes() {
    State() = IndexState{};
}

void ReserveMatchingIndexes(std::size_t entries) {
    IndexState& state = State();
    state.reserved = std::max(state.reserved, entries);
    state.pending.reserve(entries);
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
    const auto& table = TheIndexes().AuthorIndex;
    const auto found = table.find(surnameKey);
    return found == table.end() ? none : found->second;
}

std::string_view FindAuthorTitle(std::string_view surnameKey, std::string_view titleKey) {
    // Matching asks once a catalogue record: the joined key reuses one buffer.
    static std::string& key = *new std::string;
    key.assign(surnameKey).append(titleKey);
    return Find(TheIndexes().AuthorTitleIndex, key);
}

std::string_view FindSeriesLevel(std::string_view seriesKey) {
    return Find(TheIndexes().SeriesLevelIndex, seriesKey);
}

std::string_view FindSeriesAuthor(std::string_view seriesKey) {
    return Find(TheIndexes().SeriesAuthorIndex, seriesKey);
}
