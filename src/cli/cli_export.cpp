#include <filesystem>

#include "app/filter_state.h"
#include "app/list_rows.h"
#include "base/text.h"
#include "booklist/booklist.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_filters.h"
#include "cli/console_services.h"
#include "maintenance/export_writer.h"

namespace {

// A comma-separated list of field names, each known; written in the fixed order whatever order
// the list gives.
bool ParseFieldList(const std::string& list, ExportFieldSet& fields, std::string& error) {
    fields.fill(false);
    if (list.empty()) {
        error = "--fields names no field";
        return false;
    }
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = list.find(',', start);
        const std::string name = list.substr(start, comma - start);
        bool known = false;
        for (int i = 0; i < ExportFieldCount; ++i) {
            if (CompareIgnoreCase(ExportFields()[i].name, name) == 0) fields[i] = known = true;
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

// Writes the entries that pass the filters, in the list's order. Rows without the annotations are
// made in the one pass over the table, while each line is at hand, and then gathered in the
// list's order from a text much smaller than the table. Rows with them are nearly as large as
// their lines: kept whole they would be a second table to fault in, so they are made from the
// lines in the list's order instead, through a small block.
FileWriteResult WriteListed(const Booklist& booklist, const FilterState& filters, int australian,
                            const DataFolder& folder, const std::string& output,
                            ExportFormat format, const ExportFieldSet& fields) {
    if (ExportShowsAnnotations(fields)) {
        return WriteExportLines(folder, output, format, fields,
                                StageBookList(booklist, filters, australian));
    }
    ExportRowMaker maker(fields, format);
    const StagedBookRows rows =
        StageRows(booklist, filters, australian, maker.FieldsNeeded(), maker.RowBytes(),
                  [&maker](std::string_view packed, PackedFields& entry, std::string& text) {
                      maker.Append(text, packed, entry);
                  });
    return WriteExportRows(folder, output, format, fields, rows.rows.size(),
                           [&rows](std::size_t row) { return rows.Row(row); });
}

}  // namespace

int RunExportCommand(const std::vector<std::string>& args, Booklist& booklist) {
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
    int australian = AustralianAll;
    if (!ParseListFilters(cli, filters, australian, error)) return CliFail(ExitUsage, error);

    // "-" is standard output, as for most commands that write a file.
    const std::string& given = cli.Positional()[0];
    const std::string output = given == "-" ? "/dev/stdout" : AbsoluteFromStart(given);
    const std::string dir = DataFolderArgument(cli.Value("--dir"));
    const DataFolder folder(dir);
    ConsoleServices services;
    // The annotations are most of a booklist's text: they are loaded only to be written.
    BooklistLoadOptions options = LoadEntriesAndMatches;
    options.annotations = ExportShowsAnnotations(fields);
    if (const int loaded = LoadDataFolder(folder, dir, services, booklist, options);
        loaded != ExitOk)
        return loaded;

    ResolveLevelFilter(booklist, filters);
    WarnOfValuesNoBookHas(booklist, filters);

    const ExportFormat format = cli.Flag("--tab") ? ExportFormat::Tab : ExportFormat::Comma;
    if (const FileWriteResult written =
            WriteListed(booklist, filters, australian, folder, output, format, fields);
        !written) {
        return CliFail(ExitFailure, "cannot write " + output + ": " + written.reason);
    }
    return ExitOk;
}
