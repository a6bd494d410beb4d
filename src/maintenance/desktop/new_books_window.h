#pragma once
#include <string>

#include "booklist/data_folder.h"
#include "maintenance/server_address.h"

// The main window's "New books" command: downloads the server's list of new books and shows the
// books of it found in the booklist, in a sortable list that can be printed. Returns once the
// window has closed, or after the message saying that the list could not be had. The list is
// fetched from `server` into the folder's "TULNewBooks.txt".
void ShowNewBooks(const DataFolder& folder, const ServerAddress& server);

inline constexpr int NewBooksWindowNumber = 34;
inline constexpr int NewBooksCaptionControl = 3410;
inline constexpr int NewBooksListControl = 3490;
inline constexpr int NewBooksPrintControl = 3497;
inline constexpr int NewBooksOkControl = 3499;
