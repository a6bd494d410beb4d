#pragma once
#include <cstdint>
#include <functional>
#include <string_view>

#include "compare/catalogue_reader.h"
#include "compare/matching.h"

// Compares the records `reader` gives on `threads` threads: the calling thread reads them into
// batches of a few megabytes, every thread decides whole batches, and the calling thread hands
// each record to `apply` in catalogue order, with what was decided for it and the reader's
// position after it. `apply` gives false to stop there: the batches decided beyond are dropped,
// so that what was written is what one thread would have written stopping at that record. The
// run's tables must be filled (FillKnownPrefixes) before, since the threads share them.
void DecideOnThreads(CatalogueReader& reader, ComparisonRun& run, int threads,
                     const std::function<bool(std::string_view bytes, RecordDecision* decision,
                                              std::int64_t position)>& apply);
