#pragma once
#include <string>

#include "booklist/data_folder.h"
#include "platform/services.h"

// How long the update waits: for data on any download, and for the whole version file, which
// answers whether the server is reachable at all and must never hold up the start.
struct ServerUpdateTimeouts {
    int idleMilliseconds = 15000;
    int versionFileMilliseconds = 5000;
};

// Fetches the booklist from the programme's server at `baseUrl` into the folder's "Booklist.tul",
// at start-up before the first load and on F9. Silent whatever happens, and a no-op when no server
// is configured (`baseUrl` empty). The booklist is not loaded here: the new file takes effect at
// the next load.
//
// "V.txt" and "TULBookList.txt" are left beside the booklist as fetched. The booklist, and with it
// the matches, are replaced only by a complete download that holds booklist entries.
void UpdateFromServer(const DataFolder& folder, const std::string& baseUrl, Services& services,
                      const ServerUpdateTimeouts& timeouts = {});
