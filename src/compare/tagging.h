#pragma once
#include <string>

#include "compare/marc_record.h"
#include "compare/marc_writer.h"

// How matched records are tagged, chosen for each run (both on unless the user clears them).
struct TaggingOptions {
    bool TagTitlesWithStar = true;   // "*" before the title in 245, second indicator raised
    bool TagSeriesWithLevel = true;  // a "TUL" series field naming the entry's level
};

// The series text for a level band 1 to 4: "TUL R-2", "TUL 3-5", "TUL 6-9" or "TUL Mature".
const char* SeriesTextForBand(int levelBand);

// The bytes of a matched record for the output file: the "*" marks an earlier run added taken out,
// so that a catalogue exported after an earlier run tags like an untagged one, then tagged as the
// options say. With the series option on, the series fields an earlier run wrote go, so that a
// record tagged again comes out as its untagged form would, not with one more series entry each
// run. The record itself is left as it is.
RebuildResult TagMatchedRecord(const CatalogueRecord& record, int levelBand,
                               const TaggingOptions& options, std::string& bytes);
