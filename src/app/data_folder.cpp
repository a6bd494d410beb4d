#include "app/data_folder.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/regular_file.h"
#include "base/replacing_file.h"
#include "booklist/data_folder.h"

namespace fs = std::filesystem;

namespace {

// An environment value that names an absolute folder; relative ones are ignored, as the XDG rules
// say.
bool IsAbsoluteFolderName(const char* value) {
    return value != nullptr && value[0] == '/';
}

}  // namespace

DataFolders ChooseDataFolders(const std::string& executableFolder, const char* xdgDataHome,
                              const char* home) {
    DataFolders folders;
    const fs::path program = fs::path(executableFolder).lexically_normal();
    const fs::path share = (program.parent_path() / "share" / "tallyleaf").lexically_normal();
    std::error_code error;
    const bool installed = program.filename() == "bin" && fs::is_directory(share, error);
    if (!installed) {
        folders.work = program.string();
        folders.manual = (program / ManualFileName).string();
        return folders;
    }
    folders.installedShare = share.string();
    folders.manual = (share / ManualFileName).string();
    if (IsAbsoluteFolderName(xdgDataHome)) {
        folders.work = (fs::path(xdgDataHome) / "tallyleaf").string();
    } else if (IsAbsoluteFolderName(home)) {
        folders.work = (fs::path(home) / ".local" / "share" / "tallyleaf").string();
    }
    return folders;
}

FolderCheck PrepareDataFolder(const DataFolders& folders) {
    if (folders.installedShare.empty()) return {true, {}};
    if (folders.work.empty()) return {false, "neither HOME nor XDG_DATA_HOME names a folder"};
    std::error_code error;
    fs::create_directories(folders.work, error);
    if (error) return {false, error.message()};
    if (!fs::is_directory(folders.work, error)) return {false, "it is not a folder"};
    if (::access(folders.work.c_str(), W_OK | X_OK) != 0) return {false, std::strerror(errno)};
    const fs::path version = fs::path(folders.work) / VersionFileName;
    if (fs::file_size(version, error) == 0 || error) {
        const RegularFile installed =
            OpenRegularFile((fs::path(folders.installedShare) / VersionFileName).string());
        std::string bytes;
        char block[4096];
        for (std::size_t got;
             installed && (got = std::fread(block, 1, sizeof block, installed.file.get())) > 0;) {
            bytes.append(block, got);
        }
        // Written whole or not at all, so that a full disk leaves no empty file to be kept.
        if (installed) ReplaceFileContents(version.string(), bytes);
    }
    return {true, {}};
}
