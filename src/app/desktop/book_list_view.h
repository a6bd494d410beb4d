#pragma once
#include <string>

#include "app/filter_state.h"
#include "booklist/booklist.h"

class ReportList;

// The main window's book list and the selectors above it.

// Creates the six-column list at its place in the main window and registers its column sorting.
ReportList* CreateBookList(int x, int y, int width, int height);
ReportList* MainBookList();
// The Title column takes what the other columns leave of the list's width.
void SetBookListTitleWidth(int listWidth);

// Fills the level, category and format selectors from the lists of `booklist`.
void FillSelectors(const Booklist& booklist);
// Refills the list and the count caption from `booklist` under `filters`, which the match and
// level selectors are set to show. Gives the number of rows listed.
std::size_t FillBookList(const Booklist& booklist, const FilterState& filters);
// Takes the selected rows out of the list, and says in the caption how many of the `listed` rows
// of the last fill are left; the booklist stays as it is.
void RemoveSelectedRows(std::size_t listed);

// The id of the row the list's keyboard focus is on ("" for none), and the focus back on the
// list: on that book's row while it is listed, otherwise on the first row.
std::string BookListCurrentId();
void FocusBookList(const std::string& id);

// The list as other commands see it: rows from 0 in display order.
int BookListRowCount();
std::string BookListCell(int row, int column);
// The first selected row, or -1.
int BookListSelectedRow();
