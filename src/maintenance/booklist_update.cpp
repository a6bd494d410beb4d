#include "maintenance/booklist_update.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/line_reader.h"
#include "base/regular_file.h"
#include "booklist/folder_writer_lock.h"
#include "maintenance/booklist_copy.h"

namespace {

// A server that is up answers with a version file of at least this many bytes.
constexpr std::uintmax_t MinimumVersionFileSize = 5;
constexpr const char* UpdatedVersion = "2015.1";

bool SizeAtLeast(const std::string& path, std::uintmax_t bytes) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return !error && size >= bytes;
}

std::string UpdatedVersionOf(const DataFolder& folder) {
    std::string version = UpdatedVersion;
    const RegularFile file = OpenRegularFile(folder.Version());
    if (file) {
        LineReader reader(file.file.get());
        version.clear();
        reader.Next(version);
    }
    return version;
}

}  // namespace

std::optional<std::string> UpdateFromServer(const DataFolder& folder, const std::string& baseUrl,
                                            Services& services, const ServerUpdateLimits& limits) {
    if (baseUrl.empty()) return std::nullopt;
    // At start-up and on F9 nobody waits for an update: a busy folder is left for the next one.
    const FolderWriterLock lock(folder, FolderWriterLock::Wait::None);
    if (!lock.Held()) return std::nullopt;

    const std::string versionCopy = folder.VersionCopy();
    std::remove(versionCopy.c_str());
    services.DownloadToFile(baseUrl + VersionFileName, versionCopy, limits.versionFile);
    if (!SizeAtLeast(versionCopy, MinimumVersionFileSize)) return std::nullopt;
    std::string version = UpdatedVersionOf(folder);

    const std::string booklistCopy = folder.BooklistCopy();
    std::remove(booklistCopy.c_str());
    services.OpenProgressNotice("Update", "Downloading update TUL Book List file...", 200, 100);
    // The matches go only with the list they belong to: a failed download keeps both.
    if (services.DownloadToFile(baseUrl + BooklistCopyName, booklistCopy, limits.booklist) &&
        ReplaceBooklistWith(folder, booklistCopy)) {
        std::remove(folder.Matches().c_str());
        std::remove(folder.MatchReview().c_str());
    }
    services.PauseWithEvents(1000);
    services.CloseProgressNotice();
    return version;
}
