#pragma once
#include <string>

#include "booklist/booklist.h"
#include "booklist/data_folder.h"
#include "maintenance/server_address.h"
#include "platform/services.h"

// The main window's "New books" command: downloads the server's list of new books and shows the
// books of it found in `booklist`, in a sortable list that can be printed. Returns once the window
// has closed, or after the message saying that the list could not be had. The list is fetched
// from `server` into the folder's "TULNewBooks.txt", through `services` like every message.
void ShowNewBooks(const Booklist& booklist, const DataFolder& folder, const ServerAddress& server,
                  Services& services);

inline constexpr int NewBooksWindowNumber = 34;
inline constexpr int NewBooksCaptionControl = 3410;
inline constexpr int NewBooksListControl = 3490;
inline constexpr int NewBooksPrintControl = 3497;
inline constexpr int NewBooksOkControl = 3499;
