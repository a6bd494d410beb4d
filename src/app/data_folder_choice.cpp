#include "app/data_folder_choice.h"

#include <fcntl.h>
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

// Puts a copy of `file` whole on the disk under `copy`; says why not. The original goes once every
// copy is complete, so a copy still in the system's cache would be lost with it by a power
// failure: the copy is written out before it is placed.
std::string CopyToDisk(const fs::path& file, const fs::path& copy) {
    RegularFile original = OpenRegularFile(file.string());
    ReplacingFile out;
    std::string reason = original.reason;
    if (original && !out.Open(copy.string())) reason = out.Reason();
    if (original && out.IsOpen()) {
        std::vector<char> chunk(1 << 20);
        while (const std::size_t got =
                   std::fread(chunk.data(), 1, chunk.size(), original.file.get()))
            out.Write({chunk.data(), got});
        if (std::ferror(original.file.get())) out.FailWith(std::strerror(EIO));
        if (!out.Commit()) reason = out.Reason();
    }
    if (reason.empty()) return {};
    return file.filename().string() + " could not be copied (" + reason + ")";
}

// Moves the earlier folder's files into `work`, which does not exist yet: in one rename where both
// lie on one file system, else by copying every file first and removing the originals only when
// every copy is complete. When a copy fails, the copies and `work` go again, the earlier folder
// stays as it was, and the reason is returned.
std::string MoveEarlierFiles(const fs::path& earlier, const fs::path& work) {
    std::error_code error;
    fs::create_directories(work.parent_path(), error);
    fs::rename(earlier, work, error);
    if (!error) return {};
    if (!fs::create_directory(work, error)) return error ? error.message() : "it exists";
    std::vector<fs::path> files;
    std::string reason;
    for (const auto& entry : fs::directory_iterator(earlier, error)) {
        if (entry.is_regular_file(error)) files.push_back(entry.path());
    }
    if (error) reason = error.message();
    for (const fs::path& file : files) {
        if (reason.empty()) reason = CopyToDisk(file, work / file.filename());
    }
    if (reason.empty()) {
        const int fd = ::open(work.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0 || ::fsync(fd) != 0) reason = std::strerror(errno);
        if (fd >= 0) ::close(fd);
    }
    if (!reason.empty()) {
        fs::remove_all(work, error);
        return reason;
    }
    for (const fs::path& file : files)
        fs::remove(file, error);
    return {};
}

// Whether `folder` can hold the program's files; says why not.
FolderCheck CheckFolder(const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return {false, error.message(), {}, {}};
    if (!fs::is_directory(folder, error)) return {false, "it is not a folder", {}, {}};
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return {false, std::strerror(errno), {}, {}};
    return {true, {}, {}, {}};
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
    if (folders.besideExecutable) return {true, {}, folders.work, {}};
    if (folders.work.empty())
        return {false, "neither TALLYLEAF_DIR nor HOME names a folder", {}, {}};
    std::error_code error;
    if (!folders.earlierWork.empty() && !fs::exists(folders.work, error) &&
        fs::is_regular_file(fs::path(folders.earlierWork) / BooklistFileName, error)) {
        if (const std::string reason = MoveEarlierFiles(folders.earlierWork, folders.work);
            !reason.empty()) {
            // The files stay together where they were; the next start tries the move again.
            FolderCheck check = CheckFolder(folders.earlierWork);
            check.work = folders.earlierWork;
            check.notice = "Your files could not be moved to " + folders.work + ": " + reason +
                           ". Tallyleaf uses " + folders.earlierWork + " this time.";
            return check;
        }
    }
    FolderCheck check = CheckFolder(folders.work);
    check.work = folders.work;
    if (!check) return check;
    const fs::path version = fs::path(folders.work) / VersionFileName;
    if (!folders.installedShare.empty() && (fs::file_size(version, error) == 0 || error)) {
        std::string reason;
        const std::optional<std::string> installed =
            ReadRegularFile((fs::path(folders.installedShare) / VersionFileName).string(), reason);
        // Written whole or not at all, so that a full disk leaves no empty file to be kept.
        if (installed && !installed->empty()) ReplaceFileContents(version.string(), *installed);
    }
    return check;
}
