#include "maintenance/booklist_update.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "booklist/booklist.h"
#include "app/startup_constants.h"
#include "base/line_reader.h"
#include "maintenance/booklist_copy.h"
#include "booklist/matches.h"
#include "platform/download.h"
#include "platform/pause.h"
#include "platform/progress_notice.h"

namespace {

constexpr const char* VersionCopyName = "V.txt";
constexpr const char* BooklistCopyName = "TULBookList.txt";
// A server that is up answers with a version file of at least this many bytes.
constexpr std::uintmax_t MinimumVersionFileSize = 5;
constexpr const char* UpdatedVersion = "2015.1";

ServerUpdateTimeouts& Timeouts() {
    static ServerUpdateTimeouts timeouts;
    return timeouts;
}

bool SizeAtLeast(const char* name, std::uintmax_t bytes) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(name, error);
    return !error && size >= bytes;
}

void SetUpdatedVersion() {
    std::string version = UpdatedVersion;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen("TULVersion.txt", "rb"),
                                                               &std::fclose);
    if (file) {
        LineReader reader(file.get());
        version.clear();
        reader.Next(version);
    }
    SetBooklistVersion(std::move(version));
}

}  // namespace

void SetServerUpdateTimeouts(const ServerUpdateTimeouts& timeouts) {
    Timeouts() = timeouts;
}

void UpdateFromServer() {
    const std::string& base = ServerBaseUrl();
    if (base.empty()) return;
    const ServerUpdateTimeouts& timeouts = Timeouts();

    std::remove(VersionCopyName);
    DownloadToFile(base + "TULVersion.txt", VersionCopyName,
                   {timeouts.idleMilliseconds, timeouts.versionFileMilliseconds});
    if (!SizeAtLeast(VersionCopyName, MinimumVersionFileSize)) return;
    SetUpdatedVersion();

    std::remove(BooklistCopyName);
    OpenProgressNotice("Update", "Downloading update TUL Book List file...", 200, 100);
    // The matches go only with the list they belong to: a failed download keeps both.
    if (DownloadToFile(base + BooklistCopyName, BooklistCopyName, {timeouts.idleMilliseconds, 0}) &&
        ReplaceBooklistWith(BooklistCopyName)) {
        std::remove(MatchesFileName);
    }
    PauseWithEvents(1000);
    CloseProgressNotice();
}
