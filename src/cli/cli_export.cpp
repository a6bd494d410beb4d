#include <filesystem>
#include <map>

#include "app/book_list.h"
#include "app/booklist.h"
#include "app/filter_state.h"
#include "base/text.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "maintenance/export_writer.h"

namespace {

// A comma-separated list of field names, each known; written in the fixed order whatever order
// the list gives.
bool ParseFieldList(const std::string& list, ExportFieldSet& fields, std::string& error) {
    fields.fill(false);
    std::size_t start = 0;
    while (start <= list.size() && !list.empty()) {
        const std::size_t comma = list.find(',', start);
        const std::string name = list.substr(start, comma - start);
        bool known = false;
        for (int i = 0; i < ExportFieldCount; ++i) {
            if (ExportFields()[i].name == name) fields[i] = known = true;
        }
        if (!known) {
            error = "unknown field \"" + name + "\"";
            return false;
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

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

// A filter value that no book has gives an empty export, most likely from a misspelt value: the
// export is still written, as the main list would show it, but the user is told which value.
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

}  // namespace

int RunExportCommand(const std::vector<std::string>& args) {
    const CliArgs cli(
        args, {"--dir", "--fields", "--match", "--level", "--category", "--format", "--australian"},
        {"--tab"});
    if (!cli.Ok()) return CliFail(ExitUsage, cli.Error());
    if (cli.Positional().size() != 1) {
        return CliFail(ExitUsage, "export needs exactly one OUTPUT file (see --help)");
    }
    if (cli.Positional()[0].empty()) return CliFail(ExitUsage, "no output file given");

    ExportFieldSet fields = DefaultExportFields();
    std::string error;
    if (const auto list = cli.Value("--fields"); list && !ParseFieldList(*list, fields, error)) {
        return CliFail(ExitUsage, error);
    }

    FilterState filters;
    if (!ParseChoice(cli.Value("--match"),
                     {{"all", MatchFilterEverything},
                      {"matched", MatchFilterMatched},
                      {"unmatched", MatchFilterNotMatched}},
                     MatchFilterEverything, filters.matchFilter)) {
        return CliFail(ExitUsage, "--match takes all, matched or unmatched");
    }
    int australian = AustralianAll;
    if (!ParseChoice(cli.Value("--australian"),
                     {{"all", AustralianAll}, {"only", AustralianOnly}, {"non", AustralianNon}},
                     AustralianAll, australian)) {
        return CliFail(ExitUsage, "--australian takes all, only or non");
    }
    filters.levelFilter = cli.Value("--level").value_or(AllLevelsText);
    filters.categoryFilter = cli.Value("--category").value_or(AllCategoriesText);
    filters.formatFilter = cli.Value("--format").value_or(AllFormatsText);

    const std::string output = AbsoluteFromStart(cli.Positional()[0]);
    if (const int loaded = LoadDataFolder(cli.Value("--dir").value_or(".")); loaded != ExitOk) {
        return loaded;
    }

    WarnOfValuesNoBookHas(filters);

    std::vector<std::string> ids;
    for (const std::string_view packed : StageBookList(filters, australian)) {
        ids.emplace_back(SplitPackedLine(packed)[FieldId]);
    }
    const ExportFormat format = cli.Flag("--tab") ? ExportFormat::Tab : ExportFormat::Comma;
    if (const FileWriteResult written = WriteExportFile(output, format, fields, ids); !written) {
        return CliFail(ExitFailure, "cannot write " + output + ": " + written.reason);
    }
    return ExitOk;
}
