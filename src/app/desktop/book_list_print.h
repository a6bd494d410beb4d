#pragma once

// The main window's Print command: the visible rows of the book list, in their displayed order,
// under a title made of the level, match and category selectors' texts.
void PrintVisibleBookList();
