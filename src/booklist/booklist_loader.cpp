#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/line_reader.h"
#include "base/regular_file.h"
#include "base/replacing_file.h"
#include "base/text.h"
#include "booklist/booklist.h"
#include "booklist/isbn.h"
#include "booklist/keys.h"
#include "booklist/matches.h"
#include "booklist/matching_indexes.h"

namespace {

constexpr int BooklistColumns = 13;

// A FIFO or a device in the place of one of the program's files is passed over as a missing file,
// without waiting for a writer.
FileHandle OpenForReading(const std::string& path) {
    return std::move(OpenRegularFile(path).file);
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
// Room is made for an entry per this many bytes of the file when its first lines do not tell:
// booklist lines are seldom shorter, and a table that grows while loading moves every entry once
// more.
constexpr std::int64_t ExpectedLineSize = 128;
// How much of the file's start is looked at for its lines' length.
constexpr std::size_t SampleBytes = 1 << 18;

// The entries a file of `fileSize` bytes may hold, judged by the lines of its start: a table much
// larger than its entries is room cleared for nothing, and spreads their slots over more memory.
std::size_t ExpectedEntries(std::string_view start, std::int64_t fileSize) {
    start = start.substr(0, SampleBytes);
    const auto lineEnds = std::count(start.begin(), start.end(), '\n');
    // A sample that ends early is the whole file; one line or none tells nothing.
    const std::int64_t lineSize = lineEnds > 1 && start.size() == SampleBytes
                                      ? static_cast<std::int64_t>(start.size()) / lineEnds
                                      : ExpectedLineSize;
    return static_cast<std::size_t>(
        std::min(fileSize / std::max<std::int64_t>(lineSize, 1), MaxReservedEntries));
}
// The file is read through the memory map this much at a time: its lines are copied once, into
// the table, and not first into a block.
constexpr std::size_t MapWindowBytes = 4 << 20;
// A line longer than this is handled with care for its room: a booklist may hold one of any
// length, up to the size the program takes in.
constexpr std::size_t LongLine = 1 << 20;

std::string ReadVersion(const DataFolder& folder) {
    const FileHandle file = OpenForReading(folder.Version());
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

namespace {

// The columns of one line of the booklist file, with the column rules applied to those that have
// one; the ISBN still as written.
struct EntryColumns {
    PackedFields column;
    std::int64_t id = 0;
    std::string_view author;
    std::string_view series;
    std::string_view format;
};

// False for a line that is not an entry (id 0 or no title).
bool ReadEntryColumns(std::string_view line, EntryColumns& c) {
    // The file's columns are TAB-separated like a packed line's fields; later ones are ignored.
    c.column = SplitPackedLine(line, BooklistColumns);
    c.id = ReadWholeNumber(c.column[0]);
    if (c.column[1].empty() || c.id == 0) return false;
    c.author = c.column[2];
    // A leading "." marks a name to be shown without it; the character after it goes too.
    if (c.author.starts_with('.'))
        c.author = TrimSpaces(c.author.substr(std::min<std::size_t>(2, c.author.size())));
    c.series = TrimSpaces(c.column[10]);
    c.format = TrimSpaces(c.column[11]);
    if (c.format.empty()) c.format = "Book";
    return true;
}

// The ISBN without its spaces, in capitals.
void AppendIsbn(std::string_view written, std::string& out) {
    for (const char c : written) {
        if (c != ' ') out += UpperAsciiChar(c);
    }
}

}  // namespace

bool ParseBooklistLine(std::string_view line, BookRecord& r) {
    EntryColumns c;
    if (!ReadEntryColumns(line, c)) return false;
    // Every field is assigned below, so a record reused across lines keeps its storage.
    r.id = c.id;
    r.title = c.column[1];
    r.author = c.author;
    r.australianAuthor = c.column[3];
    r.publisher = c.column[4];
    r.yearPublished = c.column[5];
    r.isbn.clear();
    AppendIsbn(c.column[6], r.isbn);
    r.annotation = c.column[7];
    r.categories = c.column[8];
    r.level = c.column[9];
    r.series = c.series;
    r.format = c.format;
    r.scisNumber = c.column[12];

    EntryKeysInto(r.title, r.author, r.series, r.titleKey, r.surnameKey, r.seriesKey);
    r.callNumber.clear();
    r.matched = 0;
    r.levelBand = LevelBandOf(r.level);
    return true;
}

namespace {

// Where each field of a packed line begins, and one past the end of the line.
using FieldStarts = std::array<std::size_t, PackedFieldCount + 1>;

// The text of an entry's id as packing writes it: plain decimal.
struct IdText {
    explicit IdText(std::int64_t id)
        : size(std::to_chars(text, text + sizeof text, id).ptr - text) {}
    std::string_view View() const { return {text, static_cast<std::size_t>(size)}; }
    char text[24];
    std::ptrdiff_t size;
};

// Packs the columns of one line into `packed`, its key fields empty unless `withKeys`. The fields
// ahead of the keys are written straight into room made once for all of them, which is all of a
// line packed without keys.
void PackColumns(const EntryColumns& c, std::string_view idText, std::string& packed,
                 FieldStarts& starts, bool withKeys) {
    // No value can hold a TAB, which ends a column, nor a line break, which ends the line: they
    // go in as they are. The ISBN goes in closed up, in capitals, where the empty piece is.
    const std::string_view isbn = c.column[6];
    const std::array<std::string_view, FieldTitleKey> values = {
        idText,      c.column[1], c.author,    c.column[3], c.column[4], c.column[5], {},
        c.column[7], c.column[8], c.column[9], c.series,    c.format,    c.column[12]};
    std::size_t size =
        isbn.size() - static_cast<std::size_t>(std::count(isbn.begin(), isbn.end(), ' '));
    for (const std::string_view value : values)
        size += value.size() + 1;  // with the TAB after it
    // Without keys the line ends in the three empty keys, no call number and "not matched".
    constexpr std::string_view EmptyKeysEnd = "\t\t\t\t0";
    packed.resize(size + (withKeys ? 0 : EmptyKeysEnd.size()));
    char* const begin = packed.data();
    char* out = begin;
    for (int field = 0; field < FieldTitleKey; ++field) {
        starts[field] = static_cast<std::size_t>(out - begin);
        const std::string_view value = values[field];
        if (field == FieldIsbn) {
            for (const char ch : isbn) {
                if (ch != ' ') *out++ = UpperAsciiChar(ch);
            }
        } else if (!value.empty()) {
            std::memcpy(out, value.data(), value.size());
            out += value.size();
        }
        *out++ = '\t';
    }
    starts[FieldTitleKey] = size;
    if (withKeys) {
        AppendNormalisedKey(values[FieldTitle], packed);
        packed += '\t';
        starts[FieldSurnameKey] = packed.size();
        AppendNormalisedKey(SurnamePart(c.author), packed);
        packed += '\t';
        starts[FieldSeriesKey] = packed.size();
        AppendNormalisedKey(c.series, packed);
        packed += "\t\t0";
    } else {
        std::memcpy(out, EmptyKeysEnd.data(), EmptyKeysEnd.size());
        starts[FieldSurnameKey] = size + 1;
        starts[FieldSeriesKey] = size + 2;
    }
    starts[FieldCallNumber] = packed.size() - 2;
    starts[FieldMatched] = packed.size() - 1;
    starts[PackedFieldCount] = packed.size() + 1;
}

// The pieces of a line packed by PackColumns, without looking for its TABs again.
PackedFields PiecesAt(std::string_view packed, const FieldStarts& starts) {
    PackedFields pieces;
    for (int i = 0; i < PackedFieldCount; ++i)
        pieces[i] = packed.substr(starts[i], starts[i + 1] - 1 - starts[i]);
    return pieces;
}

}  // namespace

bool PackBooklistLine(std::string_view line, std::string& packed) {
    EntryColumns c;
    if (!ReadEntryColumns(line, c)) return false;
    FieldStarts starts;
    PackColumns(c, IdText(c.id).View(), packed, starts, true);
    return true;
}

namespace {

// The keys of an entry whose packed line leaves them out, made from its fields as packing makes
// them, for the indexes.
class KeysApart {
  public:
    PackedFields Of(PackedFields entry) {
        EntryKeysInto(entry[FieldTitle], entry[FieldAuthor], entry[FieldSeries], title_, surname_,
                      series_);
        entry[FieldTitleKey] = title_;
        entry[FieldSurnameKey] = surname_;
        entry[FieldSeriesKey] = series_;
        return entry;
    }

  private:
    std::string title_;
    std::string surname_;
    std::string series_;
};

// The category and format names met so far, each once, in the order met.
struct NameLists {
    std::vector<std::string> categories;
    std::vector<std::string> formats;
    TextSet categoriesSeen;
    TextSet formatsSeen;
};

// Enters one stored entry in the parts of the booklist `options` asks for besides the table.
void AddToListsAndIndexes(const PackedFields& entry, bool idLoadedBefore, std::string_view isbns,
                          const BooklistLoadOptions& options, NameLists& lists,
                          BooklistIndexes& indexes, KeysApart& keysApart) {
    if (options.matchingIndexes)
        indexes.Add(options.keysInLines ? entry : keysApart.Of(entry), idLoadedBefore, isbns);
    if (!options.nameLists) return;
    CollectNames(entry[FieldCategories], lists.categoriesSeen, lists.categories, MaxCategoryNames);
    // For the format list a one-character format counts as "Book".
    const std::string_view format = entry[FieldFormat];
    CollectNames(format.size() < 2 ? std::string_view("Book") : format, lists.formatsSeen,
                 lists.formats, SIZE_MAX);
}

// Nothing when there is no booklist file to read.
std::optional<Booklist> ReadBooklistEntries(const DataFolder& folder, Services& services,
                                            const BooklistLoadOptions& options) {
    Booklist booklist(ReadVersion(folder));
    if (!options.keysInLines) booklist.LeaveKeysOutOfLines();

    // Copies of the data files left by a process killed while saving them.
    for (const std::string& replaced : {folder.Matches(), folder.Output(), folder.MatchReview()})
        RemoveStaleTemporaries(replaced);

    const FileHandle file = OpenForReading(folder.Booklist());
    const std::int64_t fileSize = file ? RegularFileSize(file.get()) : -1;
    if (fileSize < 0) return std::nullopt;

    NameLists lists;
    services.OpenProgressWindow("Booklist", "Reading data...", 0, fileSize, false);

    LineReader reader(file.get(), MapWindowBytes);
    booklist.Reserve(ExpectedEntries(reader.Ahead(), fileSize), options.matchingIndexes);
    BooklistIndexes& indexes = booklist.IndexesToFill();
    std::string_view line;
    std::string packing;
    std::string isbns;
    FieldStarts starts;
    KeysApart keysApart;
    while (reader.Next(line)) {
        EntryColumns columns;
        if (!ReadEntryColumns(line, columns)) continue;
        if (!options.annotations) columns.column[7] = {};
        const IdText idText(columns.id);
        // The entry's slot in the table is asked for now, to be at hand once the line is packed.
        booklist.PrefetchSlot(idText.View());
        if (options.matchingIndexes) {
            isbns.clear();
            AppendIsbnKeys(columns.column[6], isbns);
        }
        // The table keeps a packing just as long as the line: the booklist is most of the memory
        // the program uses.
        std::string packed;
        if (options.keysInLines) {
            // How long the keys are is known only once they are made: the line is packed into
            // room used again for every line, and copied. A long line is packed into room made
            // for it at once (keys are seldom longer than their texts), so that the packing does
            // not grow to twice its length, and handed over rather than copied.
            const bool longLine = line.size() > LongLine;
            if (longLine) packing.reserve(2 * line.size() + 64);
            PackColumns(columns, idText.View(), packing, starts, true);
            packed = longLine ? std::move(packing) : std::string(packing);
        } else {
            PackColumns(columns, idText.View(), packed, starts, false);
        }
        reader.ReleaseLongLine();
        bool added = false;
        const std::string_view stored =
            booklist.StoreLoadedEntry(std::string(idText.View()), std::move(packed), added);
        if (options.matchingIndexes || options.nameLists)
            AddToListsAndIndexes(PiecesAt(stored, starts), !added, isbns, options, lists, indexes,
                                 keysApart);
        services.SetProgressPosition(reader.Position());
    }

    booklist.FillLevelNames();
    services.PauseWithEvents(1000);
    // std::string compares bytes as unsigned
    std::sort(lists.categories.begin(), lists.categories.end());
    booklist.SetNameLists(std::move(lists.categories), std::move(lists.formats));
    services.CloseProgressWindow();
    return booklist;
}

}  // namespace

std::optional<Booklist> ReadBooklist(const DataFolder& folder, Services& services,
                                     const BooklistLoadOptions& options) {
    std::optional<Booklist> booklist = ReadBooklistEntries(folder, services, options);
    if (!booklist) return booklist;
    if (options.matches) LoadMatches(folder, *booklist);
    services.SetMainWindowTitle("TUL Tallyleaf  " + booklist->Version());
    return booklist;
}

Booklist LoadBooklist(const DataFolder& folder, Services& services,
                      const BooklistLoadOptions& options) {
    std::optional<Booklist> booklist = ReadBooklist(folder, services, options);
    return booklist ? std::move(*booklist) : Booklist(ReadVersion(folder));
}
