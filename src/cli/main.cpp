#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/cli_commands.h"

namespace {

const char* const Usage =
    "Usage:\n"
    "  tallyleaf-cli export [--dir DIR] [--tab] [--fields LIST] [--match all|matched|unmatched]\n"
    "                       [--level TEXT] [--category TEXT] [--format TEXT]\n"
    "                       [--australian all|only|non] OUTPUT\n"
    "  tallyleaf-cli compare [--dir DIR] [--no-star] [--no-series] CATALOGUE\n"
    "  tallyleaf-cli print [--dir DIR] [--level TEXT] [--category TEXT] [--format TEXT]\n"
    "                      [--match all|matched|unmatched] [--australian all|only|non]\n"
    "                      [--printer NAME | --pdf FILE]\n"
    "  tallyleaf-cli --help | --version\n"
    "\n"
    "export  writes the books the main list would show under the given filters, in its order,\n"
    "        as comma-separated (or with --tab, tab-separated) text with a header line.\n"
    "        DIR holds Booklist.tul, Matches.tul and TULVersion.txt (default: TALLYLEAF_DIR\n"
    "        when set, else the current directory). LIST is a comma-separated choice of\n"
    "        id,title,author,australian,publisher,year,isbn,outofprint,categories,levels,\n"
    "        annotation,callnumber (default: id,title,author,levels,callnumber).\n"
    "\n"
    "compare matches the MARC records of CATALOGUE against the booklist in DIR as the\n"
    "        Compare command does, and writes the matched records, tagged, to OUTPUT.MRC and\n"
    "        the matches to Matches.tul, both in DIR. --no-star leaves the titles without\n"
    "        the \"*\"; --no-series adds no TUL series entry. The last line on stdout is\n"
    "        \"N records read, M matches\".\n"
    "\n"
    "print   prints the books that export writes under the same filters, in the same order,\n"
    "        as the Print command does: to the printer NAME, to the PDF file FILE, or to the\n"
    "        default printer.\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(Usage, stderr);
        return ExitUsage;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    if (command == "--help" || command == "-h") {
        std::fputs(Usage, stdout);
        return ExitOk;
    }
    if (command == "--version") {
        std::printf("tallyleaf-cli %s\n", TALLYLEAF_VERSION);
        return ExitOk;
    }
    if (command == "export") return RunExportCommand(args);
    if (command == "compare") return RunCompareCommand(args);
    if (command == "print") return RunPrintCommand(args);
    return CliFail(ExitUsage, "unknown command \"" + command + "\" (see --help)");
}
