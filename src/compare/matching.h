#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/replacing_file.h"
#include "booklist/booklist.h"
#include "booklist/data_folder.h"
#include "compare/author_books.h"
#include "compare/author_titles.h"
#include "compare/marc_reader.h"
#include "compare/marc_record.h"
#include "compare/match_review.h"
#include "compare/rejected_pairs.h"
#include "compare/run_stamp.h"
#include "compare/tagging.h"
#include "platform/services.h"

// What one comparison run came to, for the caller that reports it.
struct ComparisonResult {
    std::string catalogue;  // the catalogue file as the caller named it
    // Another run kept the data folder for longer than the run waits: nothing was changed.
    bool folderBusy = false;
    // One of the files the run replaces that is not a regular file (a FIFO, a device): the run
    // refused it before the catalogue was opened, and changed nothing.
    std::string specialFile;
    bool catalogueOpened = false;  // false: nothing was reset, read or written
    bool holdsRecords = false;     // false: the file holds no MARC record; nothing was changed
    bool outputCreated = false;    // "OUTPUT.MRC" was replaced by the complete new file
    bool matchesSaved = false;
    std::string outputFailure;   // the system's reason when "OUTPUT.MRC" could not be written
    std::string matchesFailure;  // the same for "Matches.tul"
    bool reviewSaved = false;    // "MatchReview.txt"
    std::string reviewFailure;
    bool cancelled = false;
    // A MARCXML catalogue stopped being well-formed at this line: the records before it were
    // compared, as the records of an ISO 2709 file are up to where it is damaged. 0 otherwise.
    long brokenAtLine = 0;
    std::int64_t recordsRead = 0;
    std::int64_t matches = 0;
    std::int64_t notWritten = 0;  // matched records that ISO 2709 cannot hold (too long)
    std::int64_t malformed = 0;   // matched records whose leader or tags hold delimiter bytes
};

// What one thread deciding matches works in, the record in hand's.
struct MatchScratch {
    BookFieldIndex fields;
    std::string authorTitle;  // the surname and then the title key of the record
    std::string author;
    std::string surname;
    std::string decoded;               // a text of the record decoded, for its key
    std::vector<std::uint64_t> isbns;  // the 020 ISBNs of the record
};

// Per-run state that MatchCatalogueRecord works on. Its tables are only read while records are
// decided, so that threads can share them, once the beginnings of the author-plus-title keys are
// entered (FillKnownPrefixes).
struct ComparisonRun {
    Booklist* booklist = nullptr;  // whose entries are matched
    // The entries of each surname key in booklist order, taken once from the indexed entries
    // when the run starts: keys do not change during a run, and the title test then costs one
    // lookup per record instead of one per entry of the author.
    AuthorBookTable authorBooks;
    // The author-plus-title keys, taken at the same time, for the exact test.
    AuthorTitleTable authorTitles;
    // A filter of the hashes of every author-plus-title key, so that the many records whose
    // keys the booklist does not have cost no table lookup at all.
    std::vector<std::uint64_t> knownKeys;
    // The same for every beginning of every author-plus-title key; empty until a record needs it.
    std::vector<std::uint64_t> knownPrefixes;
    // The same for every surname key, and for every beginning of one.
    std::vector<std::uint64_t> surnameKeys;
    std::vector<std::uint64_t> surnamePrefixes;
    TaggingOptions options;
    // The ISBN test: an entry's ISBN-13s to its id, the first entry in load order for each.
    bool matchByIsbn = true;
    std::unordered_map<std::uint64_t, std::string_view> isbnEntries;
    std::vector<std::uint64_t> isbnFilter;  // of the same ISBNs
    RejectedPairs rejected;                 // "Not a match" said at earlier runs
    ReplacingFile* output = nullptr;        // null when the output file could not be created
    std::int64_t outputBytes = 0;           // written to it so far
    OutputDigest outputDigest;              // of what was written to it
    // When set, the bytes written are kept here for the digest instead, to be added to it later
    // in the same order, by whichever thread has the time.
    std::string* digestLater = nullptr;
    RunReview review;      // one row per matched record, in catalogue order
    bool reviewed = true;  // false: rows are not added to it
    std::int64_t matches = 0;
    std::int64_t notWritten = 0;
    std::int64_t malformed = 0;
    MatchScratch scratch;       // of the thread that writes
    std::string bytes;          // scratch for the rebuilt record
    std::string controlNumber;  // scratch: the 001 of a matched record
};

// Fills the run's tables and filters from `booklist`, whose entries the run will mark.
void PrepareComparisonRun(ComparisonRun& run, Booklist& booklist);

// The surname key by which a catalogue author (decoded) is looked up: the key of the text before
// the first "," when there is a comma, else before the first space, made as a booklist surname's.
void CatalogueSurnameInto(std::string_view author, std::string& surname);
// The part of a catalogue author that its surname key is made from.
std::string_view CatalogueSurnamePart(std::string_view author);

// Splits and extracts the record just read, takes out earlier tags, and when it is a book of the
// booklist marks the entry and writes the tagged record. True when it matched.
bool MatchCatalogueRecord(std::string_view bytes, CatalogueRecord& record, ComparisonRun& run);

// What the tests found for one record, before anything is marked or written: the entry it
// matched, if any, and the entries passed over because the librarian had said the record is
// not them, each once, with the test that found it.
struct RecordDecision {
    bool matched = false;
    std::string_view idText;
    MatchKind kind = MatchKind::AuthorAndTitle;
    int levelBand = -1;  // -1: the entry's own band
    std::vector<std::pair<std::string_view, MatchKind>> rejectedEntries;

    // Whether the writing thread has anything to do for the record.
    bool Acts() const { return matched || !rejectedEntries.empty(); }
};

// MatchCatalogueRecord in two halves, for records decided on other threads than the one that
// writes: the first only reads the run, once FillKnownPrefixes has filled it (before that it may
// fill it itself), and works in `scratch`, `texts` and `decision`; the second marks, writes and
// reviews, on the writing thread, in catalogue order.
void DecideRecord(std::string_view bytes, ComparisonRun& run, MatchScratch& scratch,
                  CatalogueRecord& texts, RecordDecision& decision);
void ApplyDecision(std::string_view bytes, RecordDecision& decision, CatalogueRecord& record,
                   ComparisonRun& run);
// Enters every beginning of every author-plus-title key in the run's filter of them, which a
// run with one thread fills only when a record first needs it.
void FillKnownPrefixes(ComparisonRun& run);

// A catalogue from this size on is compared on two threads when two processors are free to the
// process: below it, starting the second thread and handing it the records cost more than it
// saves.
inline constexpr std::int64_t ThreadedCatalogueBytes = 8 << 20;

// How a comparison is run.
struct ComparisonOptions {
    TaggingOptions tagging;
    CallNumberOrder callNumbers = CallNumberOrder::DeweyFirst;
    bool matchByIsbn = true;
    // Threads that decide the matches: 0 chooses two when the process may run on two processors
    // and the catalogue is a regular file of at least `threadedFromBytes`, else one. The
    // environment variable TALLYLEAF_THREADS (1 or 2) overrides either. Whatever the count, the
    // files written are the same.
    int threads = 0;
    std::int64_t threadedFromBytes = ThreadedCatalogueBytes;
    // For the benchmarks alone, which measure what the review costs: false leaves it empty.
    bool reviewed = true;
};

// Compares the catalogue file at `path` (ISO 2709 or MARCXML) with `booklist` under the progress
// window shown through `services`: every match of the booklist is cleared and set anew, and
// "OUTPUT.MRC", "Matches.tul" and "MatchReview.txt" are written to the data folder. What came of it
// is returned for the caller to tell; nothing is changed when the file cannot be opened or holds no
// MARC record.
ComparisonResult RunComparison(Booklist& booklist, const DataFolder& folder,
                               const std::string& path, const ComparisonOptions& options,
                               Services& services);

// Progress positions are divided by 2 to this power so that the bar's range fits in 32 bits.
int ProgressShiftFor(std::int64_t size);
