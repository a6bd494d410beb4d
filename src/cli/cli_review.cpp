#include <cstdio>
#include <string>
#include <vector>

#include "booklist/data_folder.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/console_services.h"
#include "cli/terminal_text.h"
#include "compare/match_review.h"
#include "compare/match_takeback.h"
#include "maintenance/export_writer.h"

int RunReviewCommand(const std::vector<std::string>& args) {
    const CliArgs cli(args, {"--dir"}, {"--check", "--tab"});
    if (!cli.Ok()) return CliFail(ExitUsage, cli.Error());
    if (cli.Positional().size() != 1 || cli.Positional()[0].empty()) {
        return CliFail(ExitUsage, "review needs exactly one OUTPUT file (see --help)");
    }
    const std::string dir = DataFolderArgument(cli.Value("--dir"));
    const DataFolder folder(dir);
    const MatchReviewFile read = ReadMatchReview(folder);
    if (read.state == MatchReviewFile::State::Damaged)
        return CliFail(ExitFailure, folder.MatchReview() + " is damaged; run the comparison again");
    if (read.state == MatchReviewFile::State::None) {
        return CliFail(ExitFailure, "cannot read " + folder.MatchReview() +
                                        ": no comparison has been run in " + dir);
    }
    if (read.run && !ResultsOfRun(folder, *read.run)) return CliFail(ExitFailure, MixedRunsText);
    const std::vector<ReviewRow>* const review = &read.rows;
    const ExportFormat format = cli.Flag("--tab") ? ExportFormat::Tab : ExportFormat::Comma;
    std::string text;
    std::string line;
    for (const char* name :
         {"Row", "ID", "Booklist title", "Booklist author", "Matched by", "Catalogue title",
          "Catalogue author", "Call number", "Control number", "Repeated", "State"}) {
        AppendExportValue(line, name, format);
    }
    text += line.substr(1) + "\r\n";
    for (std::size_t k = 0; k < review->size(); ++k) {
        const ReviewRow& row = (*review)[k];
        if (cli.Flag("--check") && !NeedsCheck(row)) continue;
        line.clear();
        for (const std::string& value :
             {std::to_string(k + 1), row.id, row.bookTitle, row.bookAuthor,
              std::string(MatchKindText(row.kind)), row.catalogueTitle, row.catalogueAuthor,
              row.callNumber, row.controlNumber, std::string(row.repeated ? "yes" : ""),
              std::string(row.takenBack         ? "taken back"
                          : row.rejectedEarlier ? "rejected earlier"
                                                : "")}) {
            AppendExportValue(line, value, format);
        }
        text += line.substr(1) + "\r\n";
    }
    const std::string& given = cli.Positional()[0];
    const std::string output = given == "-" ? "/dev/stdout" : AbsoluteFromStart(given);
    if (const std::string refusal = OwnDataFileRefusal(folder, output); !refusal.empty())
        return CliFail(ExitFailure, "cannot write " + output + ": " + refusal);
    if (const FileWriteResult written = ReplaceFileContents(output, text); !written)
        return CliFail(ExitFailure, "cannot write " + output + ": " + written.reason);
    return ExitOk;
}

int RunUnmatchCommand(const std::vector<std::string>& args, Booklist& booklist) {
    const CliArgs cli(args, {"--dir"}, {"--undo"});
    if (!cli.Ok()) return CliFail(ExitUsage, cli.Error());
    if (cli.Positional().empty()) return CliFail(ExitUsage, "unmatch needs the ROW numbers");
    if (cli.Flag("--undo") && cli.Positional().size() != 1)
        return CliFail(ExitUsage, "unmatch --undo takes one ROW");
    std::vector<int> rows;
    for (const std::string& text : cli.Positional()) {
        const bool number = !text.empty() && text.size() < 9 &&
                            text.find_first_not_of("0123456789") == std::string::npos;
        if (!number || std::stoi(text) < 1) return CliFail(ExitUsage, "not a row number: " + text);
        rows.push_back(std::stoi(text));
    }
    const std::string dir = DataFolderArgument(cli.Value("--dir"));
    const DataFolder folder(dir);
    if (cli.Flag("--undo")) {
        if (const TakeBackResult undone = ForgetRejection(folder, rows[0]); !undone)
            return CliFail(ExitFailure, undone.reason);
        std::printf("row %d may match again at the next comparison\n", rows[0]);
        return ExitOk;
    }
    ConsoleServices services;
    if (const int loaded = LoadDataFolder(folder, dir, services, booklist, LoadEntriesAndMatches);
        loaded != ExitOk)
        return loaded;
    if (const TakeBackResult taken = TakeBackMatches(booklist, folder, rows, services); !taken)
        return CliFail(ExitFailure, taken.reason);
    return ExitOk;
}
