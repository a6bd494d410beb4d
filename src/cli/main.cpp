#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/terminal_text.h"

namespace {

// Each command's synopsis and what it does; --help shows them all, "COMMAND --help" its own.
struct CommandHelp {
    const char* name;
    const char* synopsis;
    const char* description;
    bool filters = false;  // takes the main list's filters, so their note applies
};

constexpr CommandHelp Commands[] = {
    {"export",
     "  tallyleaf-cli export [--dir DIR] [--tab] [--fields LIST] [--match all|matched|unmatched]\n"
     "                       [--level TEXT] [--category TEXT] [--format TEXT]\n"
     "                       [--australian all|only|non] OUTPUT\n",
     "export  writes the books the main list would show under the given filters, in its order,\n"
     "        as comma-separated (or with --tab, tab-separated) text with a header line, to\n"
     "        OUTPUT (\"-\": standard output). LIST is a comma-separated choice of id,title,\n"
     "        author,australian,publisher,year,isbn,outofprint,categories,levels,annotation,\n"
     "        callnumber, in any letter case (default: id,title,author,levels,callnumber).\n",
     true},
    {"compare",
     "  tallyleaf-cli compare [--dir DIR] [--no-star] [--no-series] [--no-isbn]\n"
     "                        [--call-number dewey-first|local-first|dewey-only] CATALOGUE\n",
     "compare matches the MARC 21 records of CATALOGUE, ISO 2709 or MARCXML (told apart by\n"
     "        its first bytes), against the booklist in DIR as the Compare command does, and\n"
     "        writes the matched records, tagged, to OUTPUT.MRC (ISO 2709) and the matches to\n"
     "        Matches.tul, both in DIR. --no-star leaves the titles without the \"*\";\n"
     "        --no-series adds no TUL series entry; --no-isbn leaves out the last test, a\n"
     "        record's 020 ISBN against the booklist's. --call-number says where call numbers\n"
     "        come from: 082, then the library's own fields (092, 099, 090, 852, 952, 900,\n"
     "        then 050; dewey-first), those fields before 082 (local-first), or 082 only\n"
     "        (dewey-only); without it, the Compare dialog's last choice (Settings.txt in\n"
     "        DIR; dewey-first when none). A record's text is read as UTF-8, MARC-8 or\n"
     "        windows-1252, as its bytes show, and goes into the booklist in windows-1252\n"
     "        (\"?\" for a character it lacks). A pair taken back with unmatch (Rejected.tul\n"
     "        in DIR) is not matched again. The last line on stdout is\n"
     "        \"N records read, M matches\".\n"},
    {"print",
     "  tallyleaf-cli print [--dir DIR] [--level TEXT] [--category TEXT] [--format TEXT]\n"
     "                      [--match all|matched|unmatched] [--australian all|only|non]\n"
     "                      [--printer NAME | --pdf FILE]\n",
     "print   prints the books that export writes under the same filters, in the same order,\n"
     "        as the Print command does: to the printer NAME, to the PDF file FILE, or to the\n"
     "        default printer.\n",
     true},
    {"review", "  tallyleaf-cli review [--dir DIR] [--check] [--tab] OUTPUT\n",
     "review  writes how each record of the last comparison matched (MatchReview.txt in DIR),\n"
     "        one row per matched record with its row number first, as comma-separated (or\n"
     "        with --tab, tab-separated) UTF-8 text to OUTPUT (\"-\": standard output); with\n"
     "        --check only the rows to check: \"title inside\", \"series\" and entries matched\n"
     "        more than once.\n"},
    {"unmatch",
     "  tallyleaf-cli unmatch [--dir DIR] ROW...\n  tallyleaf-cli unmatch [--dir DIR] --undo ROW\n",
     "unmatch takes back the matches of the review's rows ROW (numbers as review gives them):\n"
     "        their records leave OUTPUT.MRC, their entries Matches.tul unless another record\n"
     "        still matches them, and the rows stay in MatchReview.txt marked \"taken back\".\n"
     "        Each pair is kept in Rejected.tul, so that later comparisons do not match it\n"
     "        again; --undo forgets the pair of a row marked \"taken back\" or \"rejected\n"
     "        earlier\", which may then match at the next comparison.\n"},
    {"import", "  tallyleaf-cli import [--dir DIR] FILE\n",
     "import  makes FILE the booklist in DIR, as File > Update does: a file that is no\n"
     "        booklist or is larger than 256 MB is refused and nothing changes; otherwise\n"
     "        the matches and the review of the old booklist are deleted.\n"},
};

constexpr const char* FolderNote =
    "\n"
    "DIR holds Booklist.tul, Matches.tul and TULVersion.txt (default: TALLYLEAF_DIR when set,\n"
    "else the current directory; an installed Tallyleaf keeps them in ~/Tallyleaf).\n";
constexpr const char* FilterNote =
    "\n"
    "The filters are the main list's selectors. TEXT is taken in the terminal's encoding;\n"
    "--level takes a level as its selector names it or as the Level column shows it (R-2,\n"
    "3-5, 6-9, 10-12 for Mature), and --level, --match and --australian take any letter case.\n";

void PrintUsage(std::FILE* out, const CommandHelp* only = nullptr) {
    std::fputs("Usage:\n", out);
    for (const CommandHelp& command : Commands) {
        if (!only || only == &command) std::fputs(command.synopsis, out);
    }
    if (!only) std::fputs("  tallyleaf-cli --help | --version | COMMAND --help\n", out);
    for (const CommandHelp& command : Commands) {
        if (!only || only == &command) std::fprintf(out, "\n%s", command.description);
    }
    std::fputs(FolderNote, out);
    if (!only || only->filters) std::fputs(FilterNote, out);
}

bool AsksForHelp(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--") return false;
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    UseTerminalEncoding();
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintUsage(stderr);
        return ExitUsage;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    if (command == "--help" || command == "-h") {
        PrintUsage(stdout);
        return ExitOk;
    }
    if (command == "--version") {
        std::printf("tallyleaf-cli %s\n", TALLYLEAF_VERSION);
        return ExitOk;
    }
    for (const CommandHelp& help : Commands) {
        if (command == help.name && AsksForHelp(args)) {
            PrintUsage(stdout, &help);
            return ExitOk;
        }
    }
    // The booklist a command loads is left for the end of the process to take back at once:
    // freeing it entry by entry would add milliseconds to every command on a large booklist.
    Booklist booklist;
    if (command == "export") std::exit(RunExportCommand(args, booklist));
    if (command == "compare") std::exit(RunCompareCommand(args, booklist));
    if (command == "print") return RunPrintCommand(args);
    if (command == "review") return RunReviewCommand(args);
    if (command == "unmatch") std::exit(RunUnmatchCommand(args, booklist));
    if (command == "import") std::exit(RunImportCommand(args, booklist));
    return CliFail(ExitUsage, "unknown command \"" + command + "\" (see --help)");
}
