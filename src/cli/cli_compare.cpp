#include <cstdio>
#include <filesystem>
#include <optional>

#include "base/text.h"
#include "booklist/data_folder.h"
#include "booklist/folder_writer_lock.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/console_services.h"
#include "compare/call_number_setting.h"
#include "compare/matching.h"

int RunCompareCommand(const std::vector<std::string>& args, Booklist& booklist) {
    const CliArgs cli(args, {"--dir", "--call-number"}, {"--no-star", "--no-series", "--no-isbn"});
    if (!cli.Ok()) return CliFail(ExitUsage, cli.Error());
    const std::optional<std::string> callNumberName = cli.Value("--call-number");
    std::optional<CallNumberOrder> chosenOrder;
    if (callNumberName) {
        chosenOrder = CallNumberOrderFromName(*callNumberName);
        if (!chosenOrder) {
            return CliFail(ExitUsage,
                           "--call-number takes dewey-first, local-first or dewey-only, not \"" +
                               *callNumberName + "\"");
        }
    }
    if (cli.Positional().size() != 1) {
        return CliFail(ExitUsage, "compare needs exactly one CATALOGUE file (see --help)");
    }
    const std::string& catalogue = cli.Positional()[0];
    const std::string dir = DataFolderArgument(cli.Value("--dir"));
    const DataFolder folder(dir);
    ConsoleServices quiet;
    if (const int loaded = LoadDataFolder(folder, dir, quiet, booklist, LoadForComparison);
        loaded != ExitOk) {
        return loaded;
    }

    TaggingOptions options;
    options.TagTitlesWithStar = !cli.Flag("--no-star");
    options.TagSeriesWithLevel = !cli.Flag("--no-series");
    // The desktop's last choice holds unless the command names one; the command never changes it.
    const CallNumberOrder order = chosenOrder.value_or(LoadCallNumberOrder(folder));
    // Only the comparison, which may take a while on a large catalogue, shows its progress.
    ConsoleServices console(ConsoleServices::Progress::OnTerminal);
    const ComparisonResult result = RunComparison(
        booklist, folder, catalogue, {options, order, !cli.Flag("--no-isbn")}, console);

    if (result.folderBusy) return CliFail(ExitFailure, FolderBusyText(folder));
    if (!result.specialFile.empty()) {
        return CliFail(ExitFailure,
                       "cannot write " + result.specialFile + ": it is not a regular file");
    }
    if (!result.catalogueOpened) return CliFail(ExitFailure, "cannot read catalogue " + catalogue);
    if (!result.holdsRecords) {
        return CliFail(ExitFailure, catalogue + " holds no MARC records; nothing was changed");
    }
    if (result.brokenAtLine > 0) {
        CliFail(ExitOk, catalogue + " stops being well-formed XML at line " +
                            std::to_string(result.brokenAtLine) +
                            "; only the records before it were compared");
    }
    if (result.notWritten > 0) {
        CliFail(ExitOk, CountOf(result.notWritten, "matched record was", "matched records were") +
                            " too long to write to " + OutputFileName);
    }
    if (result.malformed > 0) {
        CliFail(ExitOk, CountOf(result.malformed, "matched record was", "matched records were") +
                            " too damaged to write to " + OutputFileName);
    }
    std::printf("%s, %s\n", CountOf(result.recordsRead, "record read", "records read").c_str(),
                CountOf(result.matches, "match", "matches").c_str());
    std::fflush(stdout);
    // Both files are named when both fail: the matches are the run's result, and a message about
    // the output alone would hide that they are lost.
    int status = ExitOk;
    if (!result.outputCreated) {
        status =
            CliFail(ExitFailure, "cannot write " + folder.Output() + ": " + result.outputFailure);
    }
    if (!result.matchesSaved) {
        status =
            CliFail(ExitFailure, "cannot write " + folder.Matches() + ": " + result.matchesFailure);
    }
    if (!result.reviewSaved) {
        status = CliFail(ExitFailure,
                         "cannot write " + folder.MatchReview() + ": " + result.reviewFailure);
    }
    return status;
}
