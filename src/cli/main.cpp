#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/booklist.h"
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
    "        DIR holds Booklist.tul, Matches.tul and TULVersion.txt (default: the current\n"
    "        directory). LIST is a comma-separated choice of id,title,author,australian,\n"
    "        publisher,year,isbn,outofprint,categories,levels,annotation,callnumber\n"
    "        (default: id,title,author,levels,callnumber).\n"
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

std::string AbsoluteFromStart(const std::string& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

int LoadDataFolder(const std::string& dir) {
    if (::chdir(dir.c_str()) != 0) {
        return CliFail(ExitFailure, "cannot enter folder " + dir + ": " + std::strerror(errno));
    }
    const std::string booklist = (std::filesystem::path(dir) / "Booklist.tul").string();
    std::FILE* file = std::fopen("Booklist.tul", "rb");
    if (!file) {
        return CliFail(ExitFailure, "cannot read " + booklist + ": " + std::strerror(errno));
    }
    struct stat status {};
    const bool regular = ::fstat(::fileno(file), &status) == 0 && S_ISREG(status.st_mode);
    std::fclose(file);
    if (!regular) return CliFail(ExitFailure, "cannot read " + booklist + ": not a file");
    LoadBooklist();
    // A booklist saved as UTF-16 or by a spreadsheet in another format has lines, but none that
    // reads as an entry: the empty result must not pass for an empty booklist.
    if (Booklist().empty() && status.st_size > 0) {
        CliFail(ExitOk, "warning: " + booklist +
                            " holds no booklist entries (tab-separated lines, ID first)");
    }
    return ExitOk;
}

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
