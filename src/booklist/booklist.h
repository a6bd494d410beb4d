#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/ordered_text_table.h"
#include "booklist/book_record.h"
#include "booklist/data_folder.h"
#include "platform/services.h"

// The loaded booklist and the lists derived from it. This module owns them; only the loader
// replaces them, and between loads only matching and the matches merge touch the entries.

// Book id as plain decimal text -> packed line, in the order the ids first came in the file.
using BooklistTable = OrderedTextTable;
const BooklistTable& Booklist();

// The packed line stored under an id text, or the empty line when there is none.
std::string_view LookupBookLine(std::string_view idText);
BookRecord LookupBookRecord(std::string_view idText);
void StoreBookRecord(const BookRecord& record);

// Marks the entry stored under `idText` as matched with `callNumber`; false when there is none.
bool MarkBookMatched(std::string_view idText, std::string_view callNumber);
// The same, giving the entry's packed line as it now stands; empty when there is none.
std::string_view MarkBookMatchedEntry(std::string_view idText, std::string_view callNumber);
// Every entry unmatched and without call number, as before a comparison.
void ClearAllMatches();

inline constexpr std::size_t MaxCategoryNames = 99999;

struct LevelNameTable {
    std::array<std::string, 51> names;
    int count = 0;  // the selector shows names 0 to count
};

const std::string& BooklistVersion();
// The server update names the version of the list it fetched; the next load reads it again.
void SetBooklistVersion(std::string version);
// Distinct category names, sorted by unsigned byte value.
const std::vector<std::string>& CategoryList();
// Distinct format names, in the order first met.
const std::vector<std::string>& FormatList();
const LevelNameTable& LevelNames();

inline constexpr const char* AllLevelsText = "All levels";
inline constexpr const char* DefaultBooklistVersion = "2015.0";

// Back to the state at process start: the booklist, its lists and the matching indexes built from
// it. For tests.
void ResetBooklistState();

// Reads "TULVersion.txt" and "Booklist.tul" from the data folder, rebuilds the table, the
// matching indexes and the lists, merges "Matches.tul" and sets the main window's title, showing
// its progress through `services`.
void LoadBooklist(const DataFolder& folder, Services& services);
// The same without merging "Matches.tul", for a comparison that clears every match first.
void LoadBooklistForComparison(const DataFolder& folder, Services& services);

// Takes one line of the booklist file into a record, keys computed and not yet matched. False
// for a line that is not an entry (id 0 or no title).
bool ParseBooklistLine(std::string_view line, BookRecord& record);
// The packed line of the record ParseBooklistLine takes from `line`, built without the record.
// False, and `packed` left unspecified, for a line that is not an entry.
bool PackBooklistLine(std::string_view line, std::string& packed);
