#include "app/data_folder.h"

#include <filesystem>

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
    } else {
        folders.work = program.string();  // nowhere else to go; the program still starts
    }
    return folders;
}

bool PrepareDataFolder(const DataFolders& folders) {
    if (folders.installedShare.empty()) return true;
    std::error_code error;
    fs::create_directories(folders.work, error);
    if (!fs::is_directory(folders.work, error)) return false;
    const fs::path version = fs::path(folders.work) / VersionFileName;
    if (!fs::exists(version, error)) {
        fs::copy_file(fs::path(folders.installedShare) / VersionFileName, version, error);
    }
    return true;
}
