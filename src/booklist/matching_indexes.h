#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_table.h"
#include "booklist/book_record.h"

// The four lookup tables over the loaded booklist that matching follows. Rebuilt on every load. A
// comparison builds flat tables of its own from the same entries (ForEachIndexedEntry), by the
// same rules, and looks only the series up here.
struct MatchingIndexes {
    // surname key -> ids of the entries with that surname, in load order, each once
    TextTable<std::vector<std::int64_t>> AuthorIndex;
    // surname key immediately followed by title key -> id as decimal text (the later entry wins)
    TextTable<std::string> AuthorTitleIndex;
    // series key -> level text of the entry that last named the series
    TextTable<std::string> SeriesLevelIndex;
    // series key -> surname key of that same entry
    TextTable<std::string> SeriesAuthorIndex;
};

const MatchingIndexes& Indexes();
void ClearMatchingIndexes();
// Makes room for about `entries` booklist entries, so that a large load does not rehash.
void ReserveMatchingIndexes(std::size_t entries);
// Enters one freshly loaded entry, whose keys are already computed. `idLoadedBefore` says that an
// earlier line of the same file had the same id, the only case in which the id can already be
// listed under its surname.
void IndexBookEntry(const BookRecord& record, bool idLoadedBefore);
// The same for an entry given as the pieces of its packed line.
void IndexBookEntry(const PackedFields& entry, bool idLoadedBefore);

// One entry as it was given to the indexes.
struct IndexedEntry {
    std::int64_t id;
    bool idLoadedBefore;
    std::string_view idText, titleKey, surnameKey, seriesKey, level;
};
// Calls `visit` with every entry given since the indexes were cleared, in the order given. The
// texts stay in place until the indexes are cleared.
void ForEachIndexedEntry(const std::function<void(const IndexedEntry&)>& visit);
std::size_t IndexedEntryCount();
// Whether an entry was given with `idLoadedBefore`: only then can an id's entry as it now stands
// differ from one given to the indexes.
bool AnyIdIndexedAgain();

// Lookups; an absent key gives nothing and is never added.
const std::vector<std::int64_t>& FindAuthorIds(std::string_view surnameKey);
std::string_view FindAuthorTitle(std::string_view surnameKey, std::string_view titleKey);
std::string_view FindSeriesLevel(std::string_view seriesKey);
std::string_view FindSeriesAuthor(std::string_view seriesKey);
