#include "app/list_rows.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "app/book_search.h"
#include "base/byte_scan.h"
#include "base/text.h"
#include "booklist/booklist.h"

namespace {

constexpr std::size_t AuthorSortWidth = 100;

// An entry that passed the filters. Its author, cut to 100 characters, folded to lower case and
// padded with spaces, is the main sort key: its first 24 bytes are held as three numbers, the rest
// of a longer one sits in one shared buffer from `foldedAt`. `idHead` holds the first 8 bytes of
// the packed line, which begins with the id and a TAB. The entry is kept small, as sorting moves
// it many times: its line is found by its place in the table.
struct StagedEntry {
    std::uint64_t authorHead[3];
    std::uint64_t idHead;
    std::uint32_t foldedAt;
    std::uint32_t foldedLength;
    std::uint32_t passed;  // how many entries passed before this one, in the table's order
    std::uint32_t entry;   // the place of its entry in the table
};

constexpr std::size_t HeadBytes = 24;
constexpr int EntriesAhead = 8;
// Room made for each entry's folded author past its head: room that is never written to takes no
// memory.
constexpr std::size_t ExpectedAuthorBytes = 24;
// Enough of a line for most ids, titles and authors.
constexpr std::size_t SplitPartBytes = 192;

// How two authors alike in their first 24 bytes, one of them longer, compare: 0 when they are
// the same padded to 100 characters.
int CompareLongAuthors(const std::string& folded, const StagedEntry& a, const StagedEntry& b) {
    const std::size_t common = std::min(a.foldedLength, b.foldedLength);
    if (common > HeadBytes) {
        const int order =
            std::memcmp(folded.data() + a.foldedAt, folded.data() + b.foldedAt, common - HeadBytes);
        if (order != 0) return order;
    }
    // The shorter author is padded with spaces: compare those with the rest of the longer one.
    const StagedEntry& longer = a.foldedLength > b.foldedLength ? a : b;
    for (std::size_t i = std::max(common, HeadBytes); i < longer.foldedLength; ++i) {
        const auto c = static_cast<unsigned char>(folded[longer.foldedAt + i - HeadBytes]);
        if (c != ' ') return (c > ' ') == (&longer == &a) ? 1 : -1;
    }
    return 0;
}

// Orders two staged entries exactly as the texts "author cut or padded with spaces to 100
// characters, followed by the packed line" compare with A-Z folded to a-z. Sorting calls it for
// every pair it weighs: what most pairs need is kept short enough to be put in line.
inline int CompareStaged(const BooklistTable& table, const std::string& folded,
                         const StagedEntry& a, const StagedEntry& b) {
    for (int i = 0; i < 3; ++i) {
        if (a.authorHead[i] != b.authorHead[i]) return a.authorHead[i] < b.authorHead[i] ? -1 : 1;
    }
    if (a.foldedLength > HeadBytes || b.foldedLength > HeadBytes) {
        if (const int order = CompareLongAuthors(folded, a, b); order != 0) return order;
    }
    // Equal authors: the packed lines decide. Ids are unique in the table, so the first
    // difference lies within the id or the TAB after it, where folding changes nothing.
    if (a.idHead != b.idHead) return a.idHead < b.idHead ? -1 : 1;
    return CompareIgnoreCase(table.begin()[a.entry].second, table.begin()[b.entry].second);
}

// How many leading fields PassesFilters reads under these filters (the matched flag aside): an
// open filter reads nothing, and the annotation ahead of the categories is most of a line.
int FieldsFiltersRead(const FilterState& filters, int australianChoice) {
    int count = FieldAuthor + 1;  // the sort key
    if (australianChoice == AustralianOnly || australianChoice == AustralianNon) {
        count = FieldAustralianAuthor + 1;
    }
    if (filters.categoryFilter != AllCategoriesText) count = FieldCategories + 1;
    if (filters.levelFilter != AllLevelsText) count = FieldLevel + 1;
    if (filters.formatFilter != AllFormatsText) count = FieldFormat + 1;
    if (!BookSearch(filters.searchText).Empty()) count = std::max(count, FieldIsbn + 1);
    return count;
}

}  // namespace

bool PassesFilters(const PackedFields& entry, const FilterState& filters, int australianChoice) {
    if (filters.matchFilter != MatchFilterEverything &&
        filters.matchFilter == ReadWholeNumber(entry[FieldMatched])) {
        return false;
    }
    const std::string_view australian = entry[FieldAustralianAuthor];
    if (australianChoice == AustralianOnly && australian == "N") return false;
    if (australianChoice == AustralianNon && australian == "Y") return false;
    if (filters.levelFilter != AllLevelsText && entry[FieldLevel] != filters.levelFilter) {
        return false;
    }
    if (filters.formatFilter != AllFormatsText) {
        const std::string_view format = entry[FieldFormat].empty() ? "Book" : entry[FieldFormat];
        if (!ContainsIgnoreCase(format, filters.formatFilter)) return false;
    }
    if (filters.categoryFilter != AllCategoriesText &&
        !ContainsIgnoreCase(entry[FieldCategories], filters.categoryFilter)) {
        return false;
    }
    return true;
}

namespace {

// Walks the table and orders the entries that pass the filters. `onPassed` sees each of them in
// the table's order, with its leading `fieldCount` fields split (at least those the filters read),
// while its line is still in the cache.
template <typename OnPassed>
std::vector<StagedEntry> StageEntries(const BooklistTable& table, const FilterState& filters,
                                      int australianChoice, int fieldCount, OnPassed onPassed) {
    fieldCount = std::max(fieldCount, FieldsFiltersRead(filters, australianChoice));
    const bool readsMatched = filters.matchFilter != MatchFilterEverything;
    const bool everyFilterOpen =
        !readsMatched && FieldsFiltersRead(filters, australianChoice) == FieldAuthor + 1;
    const BookSearch search(filters.searchText);
    std::vector<StagedEntry> staged;
    staged.reserve(table.size());
    std::string folded;
    // Most authors fit: growing by doubling would copy the buffer and clear fresh room each time.
    folded.reserve(table.size() * ExpectedAuthorBytes);
    // The table's entries lie scattered in memory: the line of the entry this far ahead is asked
    // for early, so that waiting for it overlaps the work on the entries before it. Only the part
    // that is split is asked for: with the filters open that is the id, the title and the author,
    // and the annotation after them would crowd the cache for nothing.
    auto ahead = table.begin();
    for (int i = 0; i < EntriesAhead && ahead != table.end(); ++i)
        ++ahead;
    const std::size_t wantedBytes =
        fieldCount <= FieldAuthor + 1 && !readsMatched ? SplitPartBytes : SIZE_MAX;
    std::uint32_t place = 0;
    for (const auto& [idText, packed] : table) {
        const std::uint32_t entry = place++;
        if (ahead != table.end()) {
            const std::string& line = ahead->second;
            const std::size_t bytes = std::min(line.size(), wantedBytes);
            for (std::size_t at = 0; at < bytes; at += 64)
                __builtin_prefetch(line.data() + at);
            ++ahead;
        }
        // The table's lines are all written whole, with 18 fields: the matched flag is the last
        // one, so the filters need not scan the keys and call number ahead of it.
        PackedFields fields = SplitPackedLine(packed, fieldCount);
        if (readsMatched) {
            fields[FieldMatched] = std::string_view(packed).substr(packed.rfind('\t') + 1);
        }
        if (!everyFilterOpen && !PassesFilters(fields, filters, australianChoice)) continue;
        if (!search.Keeps(fields)) continue;
        onPassed(packed, fields);
        const std::string_view author = fields[FieldAuthor].substr(0, AuthorSortWidth);
        char head[HeadBytes];
        const std::size_t headSize = std::min(author.size(), HeadBytes);
        for (std::size_t i = 0; i < headSize; ++i)
            head[i] = LowerAsciiChar(author[i]);
        const std::string_view foldedHead(head, headSize);
        const std::size_t at = folded.size();
        for (std::size_t i = headSize; i < author.size(); ++i)
            folded += LowerAsciiChar(author[i]);
        staged.push_back({{BigEndianAt(foldedHead, 0, ' '), BigEndianAt(foldedHead, 8, ' '),
                           BigEndianAt(foldedHead, 16, ' ')},
                          BigEndianAt(packed, 0, 0),
                          static_cast<std::uint32_t>(at),
                          static_cast<std::uint32_t>(author.size()),
                          static_cast<std::uint32_t>(staged.size()),
                          entry});
    }
    std::sort(staged.begin(), staged.end(),
              [&table, &folded](const StagedEntry& a, const StagedEntry& b) {
                  return CompareStaged(table, folded, a, b) < 0;
              });
    return staged;
}

// The row of an entry, appended to `row`.
void AppendBookRowText(const PackedFields& f, std::string& row) {
    char id[24];
    const auto written = std::to_chars(id, id + sizeof id, ReadWholeNumber(f[FieldId]));
    row.append(id, written.ptr);
    const std::string_view level = LevelColumnText(LevelBandOf(f[FieldLevel]));
    const std::string_view format =
        f[FieldFormat].empty() ? std::string_view("Book") : f[FieldFormat];
    for (const std::string_view column :
         {f[FieldTitle], f[FieldAuthor], f[FieldCallNumber], level, format}) {
        row += '\n';
        row += column;
    }
}

}  // namespace

std::vector<std::string_view> StageBookList(const Booklist& booklist, const FilterState& filters,
                                            int australianChoice) {
    const std::vector<StagedEntry> staged = StageEntries(
        booklist.Table(), filters, australianChoice, 0, [](std::string_view, PackedFields&) {});
    std::vector<std::string_view> ordered;
    ordered.reserve(staged.size());
    for (const StagedEntry& entry : staged)
        ordered.push_back(booklist.Table().begin()[entry.entry].second);
    return ordered;
}

StagedBookRows StageRows(const Booklist& booklist, const FilterState& filters, int australianChoice,
                         int fieldCount, std::size_t rowBytes, const AppendRowText& appendRow) {
    StagedBookRows result;
    // Room that is never written to takes no memory.
    result.text.reserve(booklist.size() * rowBytes);
    std::vector<std::size_t> ends;  // of each row in `result.text`, in the table's order
    ends.reserve(booklist.size());
    const std::vector<StagedEntry> staged =
        StageEntries(booklist.Table(), filters, australianChoice, fieldCount,
                     [&](std::string_view packed, PackedFields& fields) {
                         appendRow(packed, fields, result.text);
                         ends.push_back(result.text.size());
                     });
    result.rows.reserve(staged.size());
    for (const StagedEntry& entry : staged) {
        const std::size_t begin = entry.passed == 0 ? 0 : ends[entry.passed - 1];
        result.rows.push_back({begin, ends[entry.passed] - begin});
    }
    return result;
}

StagedBookRows StageBookRows(const Booklist& booklist, const FilterState& filters,
                             int australianChoice) {
    // The fields up to the format are split as the filters' are; the call number is taken from
    // the end of the line, so the keys ahead of it are not scanned.
    return StageRows(booklist, filters, australianChoice, FieldFormat + 1, 0,
                     [](std::string_view packed, PackedFields& fields, std::string& text) {
                         fields[FieldCallNumber] = PackedCallNumber(packed);
                         AppendBookRowText(fields, text);
                     });
}

std::string_view LevelColumnText(int levelBand) {
    static constexpr std::string_view texts[] = {"R-2", "3-5", "6-9", "10-12"};
    return (levelBand >= 1 && levelBand <= 4) ? texts[levelBand - 1] : texts[3];
}

std::string BookRowText(std::string_view packed) {
    std::string row;
    AppendBookRowText(SplitPackedLine(packed), row);
    return row;
}
