#include "cli/cli_filters.h"

#include <map>

#include "app/list_rows.h"
#include "base/text.h"
#include "booklist/book_record.h"
#include "booklist/booklist.h"
#include "cli/terminal_text.h"

namespace {

bool ParseChoice(const std::optional<std::string>& given, const std::map<std::string, int>& choices,
                 int fallback, int& chosen) {
    if (!given) {
        chosen = fallback;
        return true;
    }
    std::string lower;
    for (const char c : *given)
        lower += LowerAsciiChar(c);
    const auto found = choices.find(lower);
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
    const std::pair<const char*, std::string*> texts[] = {{"--level", &filters.levelFilter},
                                                          {"--category", &filters.categoryFilter},
                                                          {"--format", &filters.formatFilter}};
    for (const auto& [option, filter] : texts) {
        const std::optional<std::string> given = cli.Value(option);
        if (!given) continue;
        const std::optional<std::string> text = BooklistTextFromTerminal(*given);
        if (!text) {
            error = std::string(option) + " \"" + *given +
                    "\" has a character that the booklist's encoding (windows-1252) cannot hold";
            return false;
        }
        *filter = *text;
    }
    return true;
}

void ResolveLevelFilter(const Booklist& booklist, FilterState& filters) {
    const LevelNameTable& levels = booklist.Levels();
    for (int i = 0; i <= levels.count; ++i) {
        if (CompareIgnoreCase(levels.names[i], filters.levelFilter) == 0) {
            filters.levelFilter = levels.names[i];
            return;
        }
    }
    // The Level column's texts stand for the entry of their band; "10-12" for Mature.
    for (int band = 1; band <= 4; ++band) {
        if (CompareIgnoreCase(LevelColumnText(band), filters.levelFilter) != 0) continue;
        for (int i = 1; i <= levels.count; ++i) {
            if (LevelBandOf(levels.names[i]) == band) {
                filters.levelFilter = levels.names[i];
                return;
            }
        }
    }
}

void WarnOfValuesNoBookHas(const Booklist& booklist, const FilterState& filters) {
    bool levelKnown = filters.levelFilter == AllLevelsText;
    bool categoryKnown = filters.categoryFilter == AllCategoriesText;
    bool formatKnown = filters.formatFilter == AllFormatsText;
    for (const auto& [idText, packed] : booklist.Table()) {
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
    const auto warn = [](const char* what, const std::string& value) {
        CliFail(ExitOk, std::string("warning: no book has the ") + what + " \"" +
                            TerminalTextFromBooklist(value) + "\"");
    };
    if (!levelKnown) warn("level", filters.levelFilter);
    if (!categoryKnown) warn("category", filters.categoryFilter);
    if (!formatKnown) warn("format", filters.formatFilter);
}
