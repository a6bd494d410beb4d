#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

#include "app/booklist.h"
#include "app/booklist_state.h"
#include "base/line_reader.h"
#include "base/text.h"
#include "base/replacing_file.h"
#include "compare/keys.h"
#include "compare/matching_indexes.h"
#include "maintenance/matches.h"
#include "platform/pause.h"
#include "platform/progress.h"
#include "platform/window_title.h"

namespace {

constexpr int BooklistColumns = 13;

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

FileHandle OpenForReading(const char* name) {
    return {std::fopen(name, "rb"), &std::fclose};
}

// The size of an open regular file; -1 for a folder or anything else that has no bytes to read
// as lines (a folder opens for reading, and reports a size near 2^63).
std::int64_t RegularFileSize(std::FILE* file) {
    struct stat status {};
    if (::fstat(::fileno(file), &status) != 0 || !S_ISREG(status.st_mode)) return -1;
    return status.st_size;
}

// Enough room for a large booklist at once, but never a table sized from a size alone: a sparse
// file may claim any size.
constexpr std::int64_t MaxReservedEntries = 1 << 20;

std::string ReadVersion() {
    const FileHandle file = OpenForReading("TULVersion.txt");
    if (!file) return DefaultBooklistVersion;
    LineReader reader(file.get());
    std::string first;
    reader.Next(first);
    return first;
}

// Appends each trimmed, non-empty ";"-separated item of `text` not seen before.
void CollectNames(std::string_view text, TextSet& seen, std::vector<std::string>& names,
                  std::size_t limit) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t semicolon = text.find(';', start);
        const std::string_view item = TrimSpaces(text.substr(start, semicolon - start));
        if (!item.empty() && names.size() < limit && !seen.contains(item)) {
            seen.emplace(item);
            names.emplace_back(item);
        }
        if (semicolon == std::string_view::npos) return;
        start = semicolon + 1;
    }
}

}  // namespace

bool ParseBooklistLine(std::string_view line, BookRecord& r) {
    // The file's columns are TAB-separated like a packed line's fields; later ones are ignored.
    const PackedFields column = SplitPackedLine(line, BooklistColumns);

    // Every field is assigned below, so a record reused across lines keeps its storage.
    r.id = ReadWholeNumber(column[0]);
    if (column[1].empty() || r.id == 0) return false;
    r.title = column[1];

    std::string_view author = column[2];
    // A leading "." marks a name to be shown without it; the character after it goes too.
    if (author.starts_with('.'))
        author = TrimSpaces(author.substr(std::min<std::size_t>(2, author.size())));
    r.author = author;
    r.australianAuthor = column[3];
    r.publisher = column[4];
    r.yearPublished = column[5];
    r.isbn.clear();
    for (const char c : column[6]) {
        if (c != ' ') r.isbn += UpperAsciiChar(c);
    }
    r.annotation = column[7];
    r.categories = column[8];
    r.level = column[9];
    r.series = TrimSpaces(column[10]);
    const std::string_view format = TrimSpaces(column[11]);
    r.format = format.empty() ? std::string_view("Book") : format;
    r.scisNumber = column[12];

    NormaliseKeyInto(r.title, r.titleKey);
    NormaliseKeyInto(SurnamePart(r.author), r.surnameKey);
    NormaliseKeyInto(r.series, r.seriesKey);
    r.callNumber.clear();
    r.matched = 0;
    r.levelBand = LevelBandOf(r.level);
    return true;
}

void LoadBooklist() {
    BeginBooklistLoad(ReadVersion());
    ClearMatchingIndexes();

    // Copies of the data files left by a process killed while saving them.
    for (const char* replaced : {MatchesFileName, "OUTPUT.MRC"})
        RemoveStaleTemporaries(replaced);

    const FileHandle file = OpenForReading("Booklist.tul");
    const std::int64_t fileSize = file ? RegularFileSize(file.get()) : -1;
    if (fileSize < 0) return;

    std::vector<std::string> categories;
    std::vector<std::string> formats;
    TextSet categoriesSeen;
    TextSet formatsSeen;
    OpenProgressWindow("Booklist", "Reading data...", 0, fileSize, false);

    const auto expectedEntries =
        static_cast<std::size_t>(std::min(fileSize / 256, MaxReservedEntries));
    ReserveBooklist(expectedEntries);
    ReserveMatchingIndexes(expectedEntries);
    LineReader reader(file.get());
    std::string line;
    BookRecord record;
    while (reader.Next(line)) {
        if (!ParseBooklistLine(line, record)) continue;
        const bool added = StoreLoadedLine(std::to_string(record.id), PackBookRecord(record));
        IndexBookEntry(record, !added);

        CollectNames(record.categories, categoriesSeen, categories, MaxCategoryNames);
        // For the format list a one-character format counts as "Book".
        CollectNames(record.format.size() < 2 ? std::string_view("Book") : record.format,
                     formatsSeen, formats, SIZE_MAX);
        SetProgressPosition(reader.Position());
    }

    FillLevelNames();
    PauseWithEvents(1000);
    std::sort(categories.begin(), categories.end());  // std::string compares bytes as unsigned
    SetNameLists(std::move(categories), std::move(formats));
    CloseProgressWindow();

    LoadMatches();
    SetMainWindowTitle("TUL Tallyleaf  " + BooklistVersion());
}
