#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "booklist/data_folder.h"
#include "maintenance/booklist_copy.h"
#include "platform/services.h"

// How long each download of the update may wait and how large its file may be. The version file
// answers whether the server is reachable at all and must never hold up the start.
struct ServerUpdateLimits {
    DownloadLimits versionFile{15000, 5000, 4 << 10};
    DownloadLimits booklist{15000, 120000, MaxBooklistBytes};
};

// Fetches the booklist from the programme's server at `baseUrl` into the folder's "Booklist.tul",
// at start-up before the first load and on F9. Silent whatever happens, and a no-op when no server
// is configured (`baseUrl` empty). The booklist is not loaded here: the new file takes effect at
// the next load.
//
// "V.txt" and "TULBookList.txt" are left beside the booklist as fetched. The booklist, and with it
// the matches, are replaced only by a complete download that holds booklist entries.
// Returns the version the loaded booklist is to show from now on, once the server answered with a
// version file: the data folder's, or the update's own when the folder has none. Nothing when
// there is no server or it did not answer.
std::optional<std::string> UpdateFromServer(const DataFolder& folder, const std::string& baseUrl,
                                            Services& services,
                                            const ServerUpdateLimits& limits = {});
