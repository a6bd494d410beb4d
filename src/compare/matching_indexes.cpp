#include "compare/matching_indexes.h"

#include <algorithm>

#include "app/book_record.h"
#include "base/text.h"

namespace {
// Never destroyed, like the booklist they index: freeing every node at exit would only cost time.
MatchingIndexes& TheIndexes() {
    static MatchingIndexes& indexes = *new MatchingIndexes;
    return indexes;
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
    TheIndexes() = MatchingIndexes{};
}

void ReserveMatchingIndexes(std::size_t entries) {
    MatchingIndexes& indexes = TheIndexes();
    indexes.AuthorTitleIndex.reserve(entries);
    indexes.AuthorIndex.reserve(entries / 4);
}

namespace {

// The entry under `key`, made with an empty value when there is none; the key is copied only
// then, as most lookups find a key entered before.
template <typename Value>
Value& EntryAt(TextTable<Value>& table, std::string_view key) {
    auto found = table.find(key);
    if (found == table.end()) found = table.try_emplace(std::string(key)).first;
    return found->second;
}

void IndexEntry(std::int64_t id, std::string_view idText, std::string_view titleKey,
                std::string_view surnameKey, std::string_view seriesKey, std::string_view level,
                bool idLoadedBefore) {
    MatchingIndexes& indexes = TheIndexes();
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

}  // namespace

void IndexBookEntry(const BookRecord& record, bool idLoadedBefore) {
    IndexEntry(record.id, std::to_string(record.id), record.titleKey, record.surnameKey,
               record.seriesKey, record.level, idLoadedBefore);
}

void IndexBookEntry(const PackedFields& entry, bool idLoadedBefore) {
    // The id of a packed line is plain decimal, the same text the record's number gives.
    IndexEntry(ReadWholeNumber(entry[FieldId]), entry[FieldId], entry[FieldTitleKey],
               entry[FieldSurnameKey], entry[FieldSeriesKey], entry[FieldLevel], idLoadedBefore);
}

const std::vector<std::int64_t>& FindAuthorIds(std::string_view surnameKey) {
    static const std::vector<std::int64_t> none;
    const auto& table = TheIndexes().AuthorIndex;
    const auto found = table.find(surnameKey);
    return found == table.end() ? none : found->second;
}

std::string_view FindAuthorTitle(std::string_view surnameKey, std::string_view titleKey) {
    std::string key;
    key.reserve(surnameKey.size() + titleKey.size());
    key.append(surnameKey).append(titleKey);
    return Find(TheIndexes().AuthorTitleIndex, key);
}

std::string_view FindSeriesLevel(std::string_view seriesKey) {
    return Find(TheIndexes().SeriesLevelIndex, seriesKey);
}

std::string_view FindSeriesAuthor(std::string_view seriesKey) {
    return Find(TheIndexes().SeriesAuthorIndex, seriesKey);
}
