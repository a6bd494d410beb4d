#pragma once
#include <string>

#include "base/replacing_file.h"
#include "booklist/data_folder.h"

// Puts a byte-for-byte copy of `source` in the place of the folder's "Booklist.tul" in one step.
// Only a readable regular file at least half of whose non-empty lines the booklist loader keeps as
// entries may replace it: an error page, a login page, an empty file, random bytes or a PDF leave
// the booklist as it was, and the result says why.
FileWriteResult ReplaceBooklistWith(const DataFolder& folder, const std::string& source);
