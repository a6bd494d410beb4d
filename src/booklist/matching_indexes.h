#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_table.h"
#include "booklist/book_record.h"

// The four lookup tables over a booklist that matching follows.
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

// One entry as it was given to the indexes.
struct IndexedEntry {
    std::int64_t id;
    bool idLoadedBefore;
    std::string_view idText, titleKey, surnameKey, seriesKey, level;
    std::string_view isbns;  // its ISBN-13s, each followed by ";"
};

// The entries of one booklist as its loader gave them, and the matching indexes over them. The
// entries are kept as given and entered in the tables only when a table is first looked at: a
// load for an export or a listing never matches, and a comparison reads the entries themselves
// into tables of its own (ForEachEntry), by the same rules, and looks only the series up here. The
// series tables are entered apart from the author tables, as a comparison looks only at them.
//
// The lookups are const but fill those tables on first use: one booklist is not looked up from
// two threads at once.
class BooklistIndexes {
  public:
    // Makes room for about `entries` booklist entries, so that a large load does not rehash.
    void Reserve(std::size_t entries);
    // Enters one freshly loaded entry, whose keys are already computed. `idLoadedBefore` says
    // that an earlier line of the same file had the same id, the only case in which the id can
    // already be listed under its surname.
    void Add(const BookRecord& record, bool idLoadedBefore);
    // The same for an entry given as the pieces of its packed line, with the ISBN-13s of its
    // ISBN column as written (AppendIsbnKeys).
    void Add(const PackedFields& entry, bool idLoadedBefore, std::string_view isbns);

    // Calls `visit` with every entry given, in the order given. The texts stay in place as long
    // as the indexes do.
    void ForEachEntry(const std::function<void(const IndexedEntry&)>& visit) const;
    std::size_t EntryCount() const { return given_.size(); }
    // Whether an entry was given with `idLoadedBefore`: only then can an id's entry as it now
    // stands differ from one given to the indexes.
    bool AnyIdGivenAgain() const { return anyIdGivenAgain_; }

    // Every table, with every entry given so far.
    const MatchingIndexes& Tables() const;
    // Lookups; an absent key gives nothing and is never added.
    const std::vector<std::int64_t>& FindAuthorIds(std::string_view surnameKey) const;
    std::string_view FindAuthorTitle(std::string_view surnameKey, std::string_view titleKey) const;
    std::string_view FindSeriesLevel(std::string_view seriesKey) const;
    std::string_view FindSeriesAuthor(std::string_view seriesKey) const;

  private:
    // One entry given: its texts stand one after another in a piece of `givenText_`, in the order
    // of `sizes`.
    struct GivenEntry {
        std::int64_t id;
        bool idLoadedBefore;
        // id text, title key, surname key, series key, level, ISBNs
        std::array<std::uint32_t, 6> sizes;
    };

    void AddTexts(std::int64_t id, std::string_view idText, std::string_view titleKey,
                  std::string_view surnameKey, std::string_view seriesKey, std::string_view level,
                  std::string_view isbns, bool idLoadedBefore);
    template <typename Visit>
    void VisitGiven(std::size_t from, Visit&& visit) const;
    const MatchingIndexes& AuthorTables() const;
    const MatchingIndexes& SeriesTables() const;

    std::vector<GivenEntry> given_;
    std::vector<std::string> givenText_;
    bool anyIdGivenAgain_ = false;
    std::size_t reserved_ = 0;
    // Filled on first use.
    mutable MatchingIndexes tables_;
    mutable std::size_t authorsEntered_ = 0;  // entries entered in the author tables
    mutable std::size_t seriesEntered_ = 0;   // the same for the series tables
};
