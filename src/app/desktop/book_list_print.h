#pragma once

#include "booklist/data_folder.h"

// The main window's Print command: the visible rows of the book list, in their displayed order,
// under a title made of the level, match and category selectors' texts; a PDF file is proposed
// in `folder`.
void PrintVisibleBookList(const DataFolder& folder);
