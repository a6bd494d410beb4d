#pragma once
#include "booklist/data_folder.h"
#include "platform/services.h"

// File > Update and the Update button: the user picks a booklist file downloaded by hand, which
// becomes "Booklist.tul"; the matches of the old list go and the booklist is loaded again. A file
// that cannot be read or holds no entry is refused with a message, and nothing changes. True when
// the booklist was loaded again, so that the window shows it.
bool ImportBooklist(const DataFolder& folder, Services& services);
