#pragma once
#include "booklist/data_folder.h"
#include "compare/matching.h"
#include "platform/services.h"

// Tells the desktop's user what a comparison came to, in one message box: the file it wrote, the
// counts the progress window showed, and every file or record that could not be written.
void ShowComparisonOutcome(const DataFolder& folder, const ComparisonResult& result,
                           Services& services);
