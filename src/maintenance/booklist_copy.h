#pragma once
#include <cstdint>
#include <string>

#include "base/replacing_file.h"
#include "booklist/data_folder.h"

// The largest booklist taken in, by the server update and by an import alike: a real one is a few
// megabytes, and loading takes a multiple of the file's size in memory.
inline constexpr std::int64_t MaxBooklistBytes = std::int64_t{256} << 20;

// Puts a byte-for-byte copy of `source` in the place of the folder's "Booklist.tul" in one step.
// Only a readable regular file of at most MaxBooklistBytes, at least half of whose non-empty lines
// the booklist loader keeps as entries, may replace it: an error page, a login page, an empty
// file, random bytes or a PDF leave the booklist as it was, and the result says why.
FileWriteResult ReplaceBooklistWith(const DataFolder& folder, const std::string& source);
