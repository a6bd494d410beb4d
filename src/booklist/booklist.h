#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ordered_text_table.h"
#include "booklist/book_record.h"
#include "booklist/data_folder.h"
#include "booklist/matching_indexes.h"
#include "platform/services.h"

// Book id as plain decimal text -> packed line, in the order the ids first came in the file.
using BooklistTable = OrderedTextTable;

inline constexpr std::size_t MaxCategoryNames = 99999;

struct LevelNameTable {
    std::array<std::string, 51> names;
    int count = 0;  // the selector shows names 0 to count
};

inline constexpr const char* AllLevelsText = "All levels";

// What a load makes besides the entries and the level names: all of it for the desktop session,
// which shows, filters and compares the one booklist it holds; a command asks only for what it
// reads, as each part costs the load a pass over every entry.
struct BooklistLoadOptions {
    // "Matches.tul" merged into the entries; a comparison clears them at once.
    bool matches = true;
    // Each entry's title, surname and series keys in its packed line. Without them the fields
    // are empty, and LookupRecord makes the keys of the one record it gives.
    bool keysInLines = true;
    // The matching indexes and the keys and ISBNs they hold. Without them Indexes() is empty.
    bool matchingIndexes = true;
    // The category and format lists the selectors offer. Without them both are empty.
    bool nameLists = true;
    // Each entry's annotation, most often the longest of its texts. Without them the field is
    // empty in every packed line and record.
    bool annotations = true;
};
// Export, print and the take-back of matches read the entries and their matches alone.
inline constexpr BooklistLoadOptions LoadEntriesAndMatches{true, false, false, false};
// A comparison reads the indexes and the table, but neither the matches nor the keys in lines.
inline constexpr BooklistLoadOptions LoadForComparison{false, false, true, false};
inline constexpr const char* DefaultBooklistVersion = "2015.0";

// A loaded booklist: its table of entries, its version, the level, category and format lists the
// selectors offer, and the matching indexes. Made by the loader and owned by whoever loaded it (the
// desktop session, a command, a test), which hands it to every procedure that reads it. Between
// loads only a comparison, the take-back of matches and the matches merge change it, and only in
// the entries' match results.
class Booklist {
  public:
    // An empty booklist of this version, as before any file is read.
    explicit Booklist(std::string version = DefaultBooklistVersion)
        : version_(std::move(version)) {}

    const BooklistTable& Table() const { return table_; }
    std::size_t size() const { return table_.size(); }
    bool empty() const { return table_.empty(); }

    // The packed line stored under an id text, or the empty line when there is none.
    std::string_view LookupLine(std::string_view idText) const;
    BookRecord LookupRecord(std::string_view idText) const;
    // Whether each packed line holds its entry's keys (BooklistLoadOptions::keysInLines).
    bool LinesHoldKeys() const { return linesHoldKeys_; }
    // Stores a whole record under its id; the indexes are left as they are.
    void StoreRecord(const BookRecord& record);

    // Marks the entry stored under `idText` as matched with `callNumber`; false when there is
    // none.
    bool MarkMatched(std::string_view idText, std::string_view callNumber);
    // The same, giving the entry's packed line as it now stands; empty when there is none.
    std::string_view MarkMatchedEntry(std::string_view idText, std::string_view callNumber);
    // Every entry unmatched and without call number, as before a comparison.
    void ClearAllMatches();

    const std::string& Version() const { return version_; }
    // The server update names the version of the list it fetched; the next load reads it again.
    void SetVersion(std::string version) { version_ = std::move(version); }
    // Distinct category names, sorted by unsigned byte value.
    const std::vector<std::string>& Categories() const { return categories_; }
    // Distinct format names, in the order first met.
    const std::vector<std::string>& Formats() const { return formats_; }
    const LevelNameTable& Levels() const { return levels_; }

    const BooklistIndexes& Indexes() const { return indexes_; }

    // What only the loader does, as it reads the file.
    void Reserve(std::size_t entries, bool withIndexes);
    // Stores one entry and gives the line as stored; `added` is false when an earlier line had
    // the same id (the entry is replaced).
    std::string_view StoreLoadedEntry(std::string idText, std::string packed, bool& added);
    // Asks for the table's slot for `idText` ahead of storing its entry.
    void PrefetchSlot(std::string_view idText) const { table_.Prefetch(idText); }
    BooklistIndexes& IndexesToFill() { return indexes_; }
    // The five level names the selector offers.
    void FillLevelNames();
    void SetNameLists(std::vector<std::string> categories, std::vector<std::string> formats);
    void LeaveKeysOutOfLines() { linesHoldKeys_ = false; }

  private:
    BooklistTable table_;
    std::string version_;
    std::vector<std::string> categories_;
    std::vector<std::string> formats_;
    LevelNameTable levels_;
    BooklistIndexes indexes_;
    // Entries marked as matched or given a call number since the load or the last clearing: none
    // when a comparison starts on a booklist loaded without its matches.
    std::size_t marked_ = 0;
    bool linesHoldKeys_ = true;
};

// Reads "TULVersion.txt" and "Booklist.tul" from the data folder into a new booklist, with the
// parts `options` asks for (its matching indexes and lists, "Matches.tul" merged), and sets the
// main window's title, showing its progress through `services`. Nothing when "Booklist.tul" cannot
// be read: the title and the matches are then left alone.
[[nodiscard]] std::optional<Booklist> ReadBooklist(const DataFolder& folder, Services& services,
                                                   const BooklistLoadOptions& options = {});
// The same, giving an empty booklist of the folder's version when there is no file to read.
[[nodiscard]] Booklist LoadBooklist(const DataFolder& folder, Services& services,
                                    const BooklistLoadOptions& options = {});

// Takes one line of the booklist file into a record, keys computed and not yet matched. False
// for a line that is not an entry (id 0 or no title).
bool ParseBooklistLine(std::string_view line, BookRecord& record);
// The packed line of the record ParseBooklistLine takes from `line`, built without the record.
// False, and `packed` left unspecified, for a line that is not an entry.
bool PackBooklistLine(std::string_view line, std::string& packed);
