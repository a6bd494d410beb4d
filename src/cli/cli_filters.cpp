#include "cli/cli_filters.h"

#include <map>

#include "base/text.h"
#include "booklist/book_record.h"
#include "booklist/booklist.h"

namespace {

bool ParseChoice(const std::optional<std::string>& given, const std::map<std::string, int>& choices,
                 int fallback, int& chosen) {
    if (!given) {
        chosen = fallback;
        return true;
    }
    const auto found = choices.find(*given);
    if (found == choices.end()) return false;
    chosen = found->second;
    return true;
}

}  // namespace

bool ParseListFilters(const CliArgs& cli, FilterState& filters, int& australian,
                      std::string& error) {
    if (!ParseChoice(cli.Value("--match"),
                     {{"all", MatchFilterEverything},
                      {"matched", MatchFilterMatched},
                      {"unmatched", MatchFilterNotMatched}},
                     MatchFilterEverything, filters.matchFilter)) {
        error = "--match takes all, matched or unmatched";
        return false;
    }
    if (!ParseChoice(cli.Value("--australian"),
                     {{"all", AustralianAll}, {"only", AustralianOnly}, {"non", AustralianNon}},
                     AustralianAll, australian)) {
        error = "--australian takes all, only or non";
        return false;
    }
    filters.levelFilter = cli.Value("--level").value_or(AllLevelsText);
    filters.categoryFilter = cli.Value("--category").value_or(AllCategoriesText);
    filters.formatFilter = cli.Value("--format").value_or(AllFormatsText);

    return true;
}

void WarnOfValuesNoBookHas(const FilterState& filters) {
    bool levelKnown = filters.levelFilter == AllLevelsText;
    bool categoryKnown = filters.categoryFilter == AllCategoriesText;
    bool formatKnown = filters.formatFilter == AllFormatsText;
    for (const auto& [idText, packed] : Booklist()) {
        if (levelKnown && categoryKnown && formatKnown) break;
        const PackedFields fields = SplitPackedLine(packed, FieldFormat + 1);
        levelKnown = levelKnown || fields[FieldLevel] == filters.levelFilter;
        categoryKnown =
            categoryKnown || ContainsIgnoreCase(fields[FieldCategories], filters.categoryFilter);
        formatKnown =
            formatKnown || ContainsIgnoreCase(fields[FieldFormat].empty() ? std::string_view("Book")
                                                                          : fields[FieldFormat],
                                              filters.formatFilter);
    }
    if (!levelKnown)
        CliFail(ExitOk, "warning: no book has the level \"" + filters.levelFilter + "\"");
    if (!categoryKnown) {
        CliFail(ExitOk, "warning: no book has the category \"" + filters.categoryFilter + "\"");
    }
    if (!formatKnown)
        CliFail(ExitOk, "warning: no book has the format \"" + filters.formatFilter + "\"");
}
