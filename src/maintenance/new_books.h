#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "booklist/booklist.h"
#include "booklist/data_folder.h"

// The server's list of books recently added to the booklist, as the new-books window shows it.

struct NewBooksColumn {
    const char* heading;
    int width;  // pixels
};
inline constexpr NewBooksColumn NewBooksColumns[] = {
    {"ID", 80}, {"Title", 270}, {"Author", 210}, {"Call number", 100}, {"Band", 100}};
// The window's size follows from the columns' widths.
inline constexpr int NewBooksColumnsWidth = [] {
    int sum = 0;
    for (const NewBooksColumn& column : NewBooksColumns)
        sum += column.width;
    return sum;
}();
// A file shorter than this is taken for a failed download.
inline constexpr long long NewBooksMinimumBytes = 4;
inline constexpr std::size_t MaxNewBookRows = 100000;

// One row per line of the file whose id is in `booklist`, in file order, its five
// values joined by line feeds: id, title, author, call number, band. Lines whose id is unknown
// are left out, and so is every found entry past MaxNewBookRows. No rows when the file cannot
// be read.
std::vector<std::string> ReadNewBookRows(const Booklist& booklist, const std::string& path);

// "0-2", "3-5", "6-9" or "Mature" for the level bands 1 to 4.
const char* NewBooksBandName(int levelBand);

// "TUL new books. 7 new entries"
std::string NewBooksCaption(std::size_t count);

// The server's host alone, for the message saying that the download failed: the base address
// without its scheme, path or any slash.
std::string ServerHostName(const std::string& baseUrl);
