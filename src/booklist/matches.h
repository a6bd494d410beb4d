#pragma once
#include "base/replacing_file.h"
#include "booklist/booklist.h"
#include "booklist/data_folder.h"
#include "platform/services.h"

// "Matches.tul" in the data folder: one line per matched book, its id, a comma and the library
// call number, so that match results survive a fresh booklist.

// Writes the lines of the booklist's matched entries into `file`, opened on the folder's
// "Matches.tul", after `firstLine` (given without its line end) when there is one: a run names
// itself there, and the loader passes that line over, as it names no entry.
void WriteMatches(ReplacingFile& file, const Booklist& booklist, std::string_view firstLine);
// Rewrites the file from the matched entries alone. The previous file is replaced only by a
// complete new one; when the new file could not be written the previous one is left as it was and
// the result says why.
FileWriteResult WriteMatchesFile(const DataFolder& folder, const Booklist& booklist);

// Marks the entries named in the file as matched with their call numbers. A missing file leaves
// every entry unmatched; lines naming no loaded entry are skipped.
void LoadMatches(const DataFolder& folder, Booklist& booklist);
