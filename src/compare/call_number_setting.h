#pragma once
#include "base/replacing_file.h"
#include "booklist/data_folder.h"
#include "compare/call_number.h"

// The call-number choice the Compare dialog last confirmed, kept in the folder's "Settings.txt"
// as the line "CallNumberFrom<TAB>NAME". A missing file, line or unknown name reads as
// dewey-first, which is what a comparison did before the choice existed.
CallNumberOrder LoadCallNumberOrder(const DataFolder& folder);
// Writes the choice, keeping every other line of the file as it was.
FileWriteResult SaveCallNumberOrder(const DataFolder& folder, CallNumberOrder order);
