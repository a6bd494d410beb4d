#include "compare/matching_indexes.h"

#include <algorithm>

#include "app/book_record.h"

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

void IndexBookEntry(const BookRecord& record, bool idLoadedBefore) {
    MatchingIndexes& indexes = TheIndexes();
    auto& ids = indexes.AuthorIndex[record.surnameKey];
    if (!idLoadedBefore || std::find(ids.begin(), ids.end(), record.id) == ids.end()) {
        ids.push_back(record.id);
    }

    if (!record.seriesKey.empty()) {
        indexes.SeriesLevelIndex[record.seriesKey] = record.level;
        indexes.SeriesAuthorIndex[record.seriesKey] = record.surnameKey;
    }
    std::string key;
    key.reserve(record.surnameKey.size() + record.titleKey.size());
    key.append(record.surnameKey).append(record.titleKey);
    indexes.AuthorTitleIndex.insert_or_assign(std::move(key), std::to_string(record.id));
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
