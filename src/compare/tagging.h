#pragma once
#include <string>

#include "compare/marc_record.h"
#include "compare/marc_writer.h"

// How matched records are tagged, chosen for each run (both on unless the user clears them).
struct TaggingOptions {
    bool TagTitlesWithStar = true;   // "*" before the title in 245, second indicator raised
    bool TagSeriesWithLevel = true;  // a "TUL" series field naming the entry's level
};

// Takes out the "*" marks that tagging adds, so that a catalogue exported after an earlier run
// matches and tags like an untagged one. Series fields of earlier runs are left to TagRecord.
void RemoveEarlierTags(CatalogueRecord& record);

// The series text for a level band 1 to 4: "TUL R-2", "TUL 3-5", "TUL 6-9" or "TUL Mature".
const char* SeriesTextForBand(int levelBand);

// Tags a matched record as the options say and rebuilds its bytes for the output file. With the
// series option on, the series fields an earlier run wrote go first, so that a record tagged
// again comes out as its untagged form would, not with one more series entry each run.
RebuildResult TagRecord(CatalogueRecord& record, int levelBand, const TaggingOptions& options,
                        std::string& bytes);
