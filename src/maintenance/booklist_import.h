#pragma once
#include <string>

#include "booklist/booklist.h"
#include "booklist/data_folder.h"
#include "platform/services.h"

// File > Update and the Update button: the user picks a booklist file downloaded by hand, which
// becomes "Booklist.tul"; the matches of the old list go and the booklist is loaded again into
// `booklist`. A file that cannot be read or holds no entry is refused with a message, and nothing
// changes; `booklist` is replaced only when the new "Booklist.tul" could be read. True when it
// was, so that the window shows it.
bool ImportBooklist(Booklist& booklist, const DataFolder& folder, Services& services);

// What became of importing a file.
struct ImportResult {
    bool done = false;
    bool folderBusy = false;  // another run kept the data folder
    std::string reason;       // otherwise, why the file was refused
};
// The import of the file at `path`, as the command line names it: the same checks and lock, with
// no file dialog and no message shown.
ImportResult ImportBooklistFile(Booklist& booklist, const DataFolder& folder,
                                const std::string& path, Services& services);
