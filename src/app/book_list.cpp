#include "app/book_list.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "app/booklist.h"
#include "base/text.h"

namespace {

constexpr std::size_t AuthorSortWidth = 100;

// An entry that passed the filters. Its author, cut to 100 characters, folded to lower case and
// padded with spaces, is the main sort key: its first 16 bytes are held as two numbers, the rest
// sits in one shared buffer. `idHead` holds the first 8 bytes of the packed line, which begins
// with the id and a TAB.
struct StagedEntry {
    std::uint64_t authorHead[2];
    std::uint64_t idHead;
    std::uint32_t foldedAt;
    std::uint32_t foldedLength;
    std::string_view packed;
};

constexpr std::size_t HeadBytes = 16;

// Eight bytes of `text` from `from` as a big-endian number, so that numbers order as the bytes
// do; past the end of the text the bytes are `padding`.
std::uint64_t BigEndianAt(std::string_view text, std::size_t from, unsigned char padding) {
    std::uint64_t head = 0;
    for (std::size_t i = from; i < from + 8; ++i) {
        head = (head << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : padding);
    }
    return head;
}

// Orders two staged entries exactly as the texts "author cut or padded with spaces to 100
// characters, followed by the packed line" compare with A-Z folded to a-z.
int CompareStaged(const std::string& folded, const StagedEntry& a, const StagedEntry& b) {
    for (int i = 0; i < 2; ++i) {
        if (a.authorHead[i] != b.authorHead[i]) return a.authorHead[i] < b.authorHead[i] ? -1 : 1;
    }
    const std::size_t common = std::min(a.foldedLength, b.foldedLength);
    if (common > HeadBytes) {
        const int order = std::memcmp(folded.data() + a.foldedAt + HeadBytes,
                                      folded.data() + b.foldedAt + HeadBytes, common - HeadBytes);
        if (order != 0) return order;
    }
    // The shorter author is padded with spaces: compare those with the rest of the longer one.
    const StagedEntry& longer = a.foldedLength > b.foldedLength ? a : b;
    for (std::size_t i = std::max(common, HeadBytes); i < longer.foldedLength; ++i) {
        const auto c = static_cast<unsigned char>(folded[longer.foldedAt + i]);
        if (c != ' ') return (c > ' ') == (&longer == &a) ? 1 : -1;
    }
    // Equal authors: the packed lines decide. Ids are unique in the table, so the first
    // difference lies within the id or the TAB after it, where folding changes nothing.
    if (a.idHead != b.idHead) return a.idHead < b.idHead ? -1 : 1;
    return CompareIgnoreCase(a.packed, b.packed);
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

std::vector<std::string_view> StageBookList(const FilterState& filters, int australianChoice) {
    std::vector<StagedEntry> staged;
    std::string folded;
    for (const auto& [idText, packed] : Booklist()) {
        // The table's lines are all written whole, with 18 fields: the matched flag is the last
        // one, and the filters need nothing else past the format, so the keys and call number
        // are not scanned.
        PackedFields fields = SplitPackedLine(packed, FieldFormat + 1);
        fields[FieldMatched] = std::string_view(packed).substr(packed.rfind('\t') + 1);
        if (!PassesFilters(fields, filters, australianChoice)) continue;
        const std::string_view author = fields[FieldAuthor].substr(0, AuthorSortWidth);
        const std::size_t at = folded.size();
        for (const char c : author)
            folded += LowerAsciiChar(c);
        const std::string_view foldedAuthor = std::string_view(folded).substr(at);
        staged.push_back({{BigEndianAt(foldedAuthor, 0, ' '), BigEndianAt(foldedAuthor, 8, ' ')},
                          BigEndianAt(packed, 0, 0),
                          static_cast<std::uint32_t>(at),
                          static_cast<std::uint32_t>(author.size()),
                          packed});
    }
    std::sort(staged.begin(), staged.end(), [&folded](const StagedEntry& a, const StagedEntry& b) {
        return CompareStaged(folded, a, b) < 0;
    });
    std::vector<std::string_view> ordered;
    ordered.reserve(staged.size());
    for (const StagedEntry& entry : staged)
        ordered.push_back(entry.packed);
    return ordered;
}

std::string_view LevelColumnText(int levelBand) {
    static constexpr std::string_view texts[] = {"R-2", "3-5", "6-9", "10-12"};
    return (levelBand >= 1 && levelBand <= 4) ? texts[levelBand - 1] : texts[3];
}

std::string BookRowText(std::string_view packed) {
    const PackedFields f = SplitPackedLine(packed);
    const std::string id = std::to_string(ReadWholeNumber(f[FieldId]));
    const std::string_view level = LevelColumnText(LevelBandOf(f[FieldLevel]));
    const std::string_view format =
        f[FieldFormat].empty() ? std::string_view("Book") : f[FieldFormat];
    std::string row;
    row.reserve(id.size() + f[FieldTitle].size() + f[FieldAuthor].size() +
                f[FieldCallNumber].size() + level.size() + format.size() + 5);
    row += id;
    for (const std::string_view column :
         {f[FieldTitle], f[FieldAuthor], f[FieldCallNumber], level, format}) {
        row += '\n';
        row += column;
    }
    return row;
}
