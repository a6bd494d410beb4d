#include "app/book_list.h"

#include <algorithm>

#include "app/booklist.h"
#include "app/text.h"

namespace {

constexpr std::size_t AuthorSortWidth = 100;

// Compares two staged entries as the texts "author cut or padded to 100 characters, then packed
// line" would compare with A-Z folded to a-z, without building those texts.
int CompareStaged(std::string_view authorA, std::string_view packedA, std::string_view authorB,
                  std::string_view packedB) {
    for (std::size_t i = 0; i < AuthorSortWidth; ++i) {
        const auto a =
            static_cast<unsigned char>(i < authorA.size() ? LowerAsciiChar(authorA[i]) : ' ');
        const auto b =
            static_cast<unsigned char>(i < authorB.size() ? LowerAsciiChar(authorB[i]) : ' ');
        if (a != b) return a < b ? -1 : 1;
        if (i >= authorA.size() && i >= authorB.size()) break;  // both padded from here on
    }
    return CompareIgnoreCase(packedA, packedB);
}

struct StagedEntry {
    std::string_view author;
    std::string_view packed;
};

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
    staged.reserve(Booklist().size());
    for (const auto& [idText, packed] : Booklist()) {
        const PackedFields fields = SplitPackedLine(packed);
        if (PassesFilters(fields, filters, australianChoice)) {
            staged.push_back({fields[FieldAuthor], packed});
        }
    }
    std::sort(staged.begin(), staged.end(), [](const StagedEntry& a, const StagedEntry& b) {
        return CompareStaged(a.author, a.packed, b.author, b.packed) < 0;
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

std::string BookRowText(const BookRecord& record) {
    std::string row = std::to_string(record.id);
    for (const std::string_view column :
         {std::string_view(record.title), std::string_view(record.author),
          std::string_view(record.callNumber), LevelColumnText(record.levelBand),
          std::string_view(record.format)}) {
        row += '\n';
        row += column;
    }
    return row;
}
