#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "base/regular_file.h"
#include "booklist/booklist.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"

std::string DataFolderArgument(const std::optional<std::string>& dirOption) {
    if (dirOption) return *dirOption;
    const char* shared = std::getenv("TALLYLEAF_DIR");
    return shared && *shared ? shared : ".";
}

std::string AbsoluteFromStart(const std::string& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

int LoadDataFolder(const DataFolder& folder, const std::string& dir, Services& services,
                   Booklist& booklist, const BooklistLoadOptions& options) {
    // A folder that cannot be searched has no files to read, whatever it holds.
    struct stat folderStatus {};
    if (::stat(dir.c_str(), &folderStatus) != 0) {
        return CliFail(ExitFailure, "cannot enter folder " + dir + ": " + std::strerror(errno));
    }
    if (!S_ISDIR(folderStatus.st_mode)) {
        return CliFail(ExitFailure, "cannot enter folder " + dir + ": " + std::strerror(ENOTDIR));
    }
    if (::access(dir.c_str(), X_OK) != 0) {
        return CliFail(ExitFailure, "cannot enter folder " + dir + ": " + std::strerror(errno));
    }
    const std::string booklistPath = (std::filesystem::path(dir) / BooklistFileName).string();
    struct stat status {};
    if (const RegularFile file = OpenRegularFile(folder.Booklist()); !file) {
        // Most often the command ran in another folder than the data folder.
        const std::string hint = file.reason == std::strerror(ENOENT)
                                     ? " (--dir, else TALLYLEAF_DIR, names the data folder; an "
                                       "installed Tallyleaf keeps it in ~/Tallyleaf)"
                                     : "";
        return CliFail(ExitFailure, "cannot read " + booklistPath + ": " + file.reason + hint);
    } else if (::fstat(::fileno(file.file.get()), &status) != 0) {
        return CliFail(ExitFailure, "cannot read " + booklistPath + ": " + std::strerror(errno));
    }
    booklist = LoadBooklist(folder, services, options);
    // A booklist saved as UTF-16 or by a spreadsheet in another format has lines, but none that
    // reads as an entry: the empty result must not pass for an empty booklist.
    if (booklist.empty() && status.st_size > 0) {
        CliFail(ExitOk, "warning: " + booklistPath +
                            " holds no booklist entries (tab-separated lines, ID first)");
    }
    return ExitOk;
}
