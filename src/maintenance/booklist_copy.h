#pragma once
#include <string>

#include "base/replacing_file.h"
#include "booklist/data_folder.h"

// Puts a byte-for-byte copy of `source` in the place of the folder's "Booklist.tul" in one step.
// Only a readable file holding at least one line the booklist loader keeps as an entry may replace
// it: an error page, a login page or an empty file leaves the booklist as it was, and the result
// says why.
FileWriteResult ReplaceBooklistWith(const DataFolder& folder, const std::string& source);
