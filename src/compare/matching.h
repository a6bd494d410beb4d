#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "compare/marc_record.h"
#include "compare/tagging.h"

inline constexpr const char* OutputFileName = "OUTPUT.MRC";

// What one comparison run came to, for the caller that reports it.
struct ComparisonResult {
    bool catalogueOpened = false;  // false: nothing was reset, read or written
    bool outputCreated = false;    // "OUTPUT.MRC" was created and every write to it succeeded
    bool matchesSaved = false;
    bool cancelled = false;
    std::int64_t recordsRead = 0;
    std::int64_t matches = 0;
    std::int64_t notWritten = 0;  // matched records that ISO 2709 cannot hold (too long)
};

// Per-run state that MatchCatalogueRecord works on.
struct ComparisonRun {
    TaggingOptions options;
    std::FILE* output = nullptr;  // null when the output file could not be created
    bool outputFailed = false;
    std::int64_t matches = 0;
    std::int64_t notWritten = 0;
    std::string bytes;  // scratch for the rebuilt record
};

// The surname by which a catalogue author is looked up: the text before the first "," when there
// is a comma, else before the first space, upper-cased but not otherwise normalised.
std::string CatalogueSurname(std::string_view author);

// Splits and extracts the record just read, takes out earlier tags, and when it is a book of the
// booklist marks the entry and writes the tagged record. True when it matched.
bool MatchCatalogueRecord(std::string_view bytes, CatalogueRecord& record, ComparisonRun& run);

// Compares the catalogue file at `path` with the loaded booklist under the progress window, writes
// "OUTPUT.MRC" and "Matches.tul" to the working directory and tells the user the outcome.
ComparisonResult RunComparison(const std::string& path, const TaggingOptions& options);

// Progress positions are divided by 2 to this power so that the bar's range fits in 32 bits.
int ProgressShiftFor(std::int64_t size);
