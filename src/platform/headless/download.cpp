#include "platform/download.h"

// The command-line tool fetches nothing, and the transfer needs the desktop's network service:
// headless, every download fails at once and leaves the files as they were.
DownloadResult DownloadToFile(const std::string&, const std::string&, const DownloadLimits&) {
    return {false, "no network service in this build"};
}
