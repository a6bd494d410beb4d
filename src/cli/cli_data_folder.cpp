#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "booklist/booklist.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"

std::string AbsoluteFromStart(const std::string& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

int LoadDataFolder(const std::string& dir, bool forComparison) {
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
    // A comparison clears every match before it starts: the earlier ones need not be read.
    if (forComparison) {
        LoadBooklistForComparison();
    } else {
        LoadBooklist();
    }
    // A booklist saved as UTF-16 or by a spreadsheet in another format has lines, but none that
    // reads as an entry: the empty result must not pass for an empty booklist.
    if (Booklist().empty() && status.st_size > 0) {
        CliFail(ExitOk, "warning: " + booklist +
                            " holds no booklist entries (tab-separated lines, ID first)");
    }
    return ExitOk;
}
