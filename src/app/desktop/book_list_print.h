#pragma once

#include "booklist/data_folder.h"
#include "platform/services.h"

// The main window's Print command: the visible rows of the book list, in their displayed order,
// under a title made of the level, match and category selectors' texts; a PDF file may not
// replace one of `folder`'s own files. The file dialog and the messages go through `services`.
void PrintVisibleBookList(const DataFolder& folder, Services& services);
