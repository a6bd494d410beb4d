#include "app/data_folder_choice.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include "base/regular_file.h"
#include "base/replacing_file.h"
#include "booklist/data_folder.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* HomeFolderName = "Tallyleaf";

bool IsSet(const char* value) {
    return value != nullptr && value[0] != '\0';
}

// An environment value that names an absolute folder; relative ones are ignored, as the XDG rules
// say.
bool IsAbsoluteFolderName(const char* value) {
    return value != nullptr && value[0] == '/';
}

// Moves the earlier folder's files into `work`, which does not exist yet: in one rename where both
// lie on one file system, else file by file, each copied whole before its original goes.
void MoveEarlierFiles(const fs::path& earlier, const fs::path& work) {
    std::error_code error;
    fs::create_directories(work.parent_path(), error);
    fs::rename(earlier, work, error);
    if (!error) return;
    fs::create_directory(work, error);
    if (error) return;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(earlier, error)) {
        if (entry.is_regular_file(error)) files.push_back(entry.path());
    }
    for (const fs::path& file : files) {
        // A file that cannot be read whole stays where it is.
        std::string reason;
        const std::optional<std::string> bytes = ReadRegularFile(file.string(), reason);
        if (bytes && ReplaceFileContents((work / file.filename()).string(), *bytes))
            fs::remove(file, error);
    }
}

}  // namespace

DataFolders ChooseDataFolders(const std::string& executableFolder, const FolderEnvironment& env) {
    DataFolders folders;
    const fs::path program = fs::path(executableFolder).lexically_normal();
    const fs::path share = (program.parent_path() / "share" / "tallyleaf").lexically_normal();
    std::error_code error;
    const bool installed = program.filename() == "bin" && fs::is_directory(share, error);
    const fs::path manualFolder = installed ? share : program;
    folders.manual = (manualFolder / ManualFileName).string();
    if (installed) folders.installedShare = share.string();

    if (IsSet(env.tallyleafDir)) {
        folders.work = env.tallyleafDir;
    } else if (!installed) {
        folders.work = program.string();
        folders.besideExecutable = true;
    } else if (IsAbsoluteFolderName(env.home)) {
        folders.work = (fs::path(env.home) / HomeFolderName).string();
        folders.earlierWork =
            IsAbsoluteFolderName(env.xdgDataHome)
                ? (fs::path(env.xdgDataHome) / "tallyleaf").string()
                : (fs::path(env.home) / ".local" / "share" / "tallyleaf").string();
    }
    return folders;
}

FolderCheck PrepareDataFolder(const DataFolders& folders) {
    if (folders.besideExecutable) return {true, {}};
    if (folders.work.empty()) return {false, "neither TALLYLEAF_DIR nor HOME names a folder"};
    std::error_code error;
    if (!folders.earlierWork.empty() && !fs::exists(folders.work, error) &&
        fs::is_regular_file(fs::path(folders.earlierWork) / BooklistFileName, error)) {
        MoveEarlierFiles(folders.earlierWork, folders.work);
    }
    fs::create_directories(folders.work, error);
    if (error) return {false, error.message()};
    if (!fs::is_directory(folders.work, error)) return {false, "it is not a folder"};
    if (::access(folders.work.c_str(), W_OK | X_OK) != 0) return {false, std::strerror(errno)};
    const fs::path version = fs::path(folders.work) / VersionFileName;
    if (!folders.installedShare.empty() && (fs::file_size(version, error) == 0 || error)) {
        std::string reason;
        const std::optional<std::string> installed =
            ReadRegularFile((fs::path(folders.installedShare) / VersionFileName).string(), reason);
        // Written whole or not at all, so that a full disk leaves no empty file to be kept.
        if (installed && !installed->empty()) ReplaceFileContents(version.string(), *installed);
    }
    return {true, {}};
}
