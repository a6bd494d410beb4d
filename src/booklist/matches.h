#pragma once
#include "base/replacing_file.h"
#include "booklist/booklist.h"
#include "booklist/data_folder.h"
#include "platform/services.h"

// "Matches.tul" in the data folder: one line per matched book, its id, a comma and the library
// call number, so that match results survive a fresh booklist.

// Rewrites the file from the matched entries of the booklist, then pauses for a second so that
// the windows repaint. The previous file is replaced only by a complete new one; when the new file
// could not be written the previous one is left as it was and the result says why.
FileWriteResult SaveMatches(const DataFolder& folder, const Booklist& booklist, Services& services);
// The same without the pause, for a change the user makes one match at a time.
FileWriteResult WriteMatchesFile(const DataFolder& folder, const Booklist& booklist);

// Marks the entries named in the file as matched with their call numbers. A missing file leaves
// every entry unmatched; lines naming no loaded entry are skipped.
void LoadMatches(const DataFolder& folder, Booklist& booklist);
