#include "compare/matching.h"

#include <sched.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <string_view>

#include "base/regular_file.h"
#include "base/text.h"
#include "booklist/folder_writer_lock.h"
#include "booklist/matches.h"
#include "compare/catalogue_reader.h"
#include "compare/parallel_decisions.h"
#include "compare/rejected_pairs.h"

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Two threads when the process may run on two processors and the catalogue is a regular file
// large enough to gain from them; the machine's load is not looked at.
int ThreadsFor(const ComparisonOptions& options, const std::string& path, std::int64_t size) {
    if (options.threads > 0) return options.threads;
    if (const char* forced = std::getenv("TALLYLEAF_THREADS")) {
        const std::string_view count = forced;
        if (count == "1" || count == "2") return count[0] - '0';
    }
    cpu_set_t processors;
    CPU_ZERO(&processors);
    if (sched_getaffinity(0, sizeof processors, &processors) != 0 || CPU_COUNT(&processors) < 2)
        return 1;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || size < options.threadedFromBytes)
        return 1;
    return 2;
}

}  // namespace

ComparisonResult RunComparison(Booklist& booklist, const DataFolder& folder,
                               const std::string& path, const ComparisonOptions& options,
                               Services& services) {
    ComparisonResult result;
    result.catalogue = path;
    const FolderWriterLock lock(folder);
    result.folderBusy = !lock.Held();
    if (result.folderBusy) return result;
    result.specialFile =
        FirstSpecialFile({folder.Output(), folder.Matches(), folder.MatchReview()});
    if (!result.specialFile.empty()) return result;
    // Opened before anything is reset, so that a catalogue that cannot be read leaves the earlier
    // matches and output as they were.
    File catalogue(std::fopen(path.c_str(), "rb"), &std::fclose);
    // A folder opens on some systems but has no bytes to read.
    std::error_code folderError;
    if (catalogue && std::filesystem::is_directory(path, folderError)) catalogue.reset();
    if (!catalogue) return result;
    result.catalogueOpened = true;
    // Nothing is cleared or created for a file that holds no MARC record at all (an empty file, a
    // spreadsheet, a PDF): the earlier results stay, and the user hears why.
    std::optional<CatalogueReader> reader(std::in_place, catalogue.get());
    if (!reader->FindFirstRecord()) return result;
    result.holdsRecords = true;
    booklist.ClearAllMatches();

    std::error_code error;
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(path, error));
    const std::int64_t fileSize = error ? 0 : size;
    const int shift = ProgressShiftFor(fileSize);
    services.OpenProgressWindow(
        "Scanning library catalogue file",
        "Scanning library catalogue file.\r\nComparing against Readvane list.", 0,
        fileSize >> shift, true);

    ComparisonRun run;
    run.options = options.tagging;
    run.rejected = RejectedPairs(ReadRejectedPairs(folder));
    run.matchByIsbn = options.matchByIsbn;
    run.reviewed = options.reviewed;
    run.scratch.fields.SetCallNumberOrder(options.callNumbers);
    PrepareComparisonRun(run, booklist);
    const int threads = ThreadsFor(options, path, fileSize);
    if (threads > 1) {
        // What a record may be the first to need is made now: the threads share the tables.
        FillKnownPrefixes(run);
        booklist.Indexes().FindSeriesLevel({});
    }
    // The new file takes the old one's place only when the run ends, so the catalogue being read
    // may be the "OUTPUT.MRC" of an earlier run.
    ReplacingFile output;
    if (output.Open(folder.Output())) run.output = &output;
    run.review.Open(folder);
    // Created now, beside the output, so that the end of the run does not wait for it.
    ReplacingFile reviewFile;
    reviewFile.Open(folder.MatchReview());

    CatalogueRecord record;
    // The window shows its counter at most once a frame, so the text is made afresh only every
    // so many records, and once more when the reading ends.
    constexpr std::int64_t CounterStride = 64;
    const auto showCounter = [&] {
        services.SetProgressCounter(FormatThousands(result.recordsRead) + "  " +
                                    FormatThousands(run.matches));
    };
    const auto recordDone = [&](std::int64_t position) {
        services.SetProgressPosition(position >> shift);
        if (result.recordsRead % CounterStride == 1) showCounter();
        result.cancelled = services.PollProgressWindow() == ProgressCancelId;
        return !result.cancelled;
    };
    if (threads > 1) {
        DecideOnThreads(
            *reader, run, threads,
            [&](std::string_view bytes, RecordDecision* decision, std::int64_t position) {
                ++result.recordsRead;
                if (decision) ApplyDecision(bytes, *decision, record, run);
                return recordDone(position);
            });
    } else {
        std::string_view bytes;
        do {
            if (!reader->Next(bytes)) break;
            ++result.recordsRead;
            MatchCatalogueRecord(bytes, record, run);
        } while (recordDone(reader->Position()));
    }
    // The three results are written beside the earlier ones and put in their place together,
    // under one stamp, or not at all: a crash or a full disk never leaves the results of two runs
    // side by side. After a Cancel they hold what was matched so far. The review, the largest
    // file after the output, is marked, written and taken to the disk on a thread of its own from
    // the moment the last record is applied, while the reader is closed, the matches are written
    // and the output and the matches are taken to the disk: most of each file's cost is waiting
    // for the disk, and the waits overlap.
    const std::string stamp = NewRunStamp();
    const std::string reviewRun = ReviewRunLine(stamp, run.outputDigest);
    std::future<void> reviewed =
        std::async(std::launch::async | std::launch::deferred, [&run, &reviewFile, &reviewRun] {
            if (!reviewFile.IsOpen()) return;
            run.review.WriteTo(reviewFile, reviewRun);
            reviewFile.Finish();
        });
    if (result.recordsRead > 0) showCounter();
    result.brokenAtLine = reader->BrokenAtLine();

    reader.reset();
    catalogue.reset();
    ReplacingFile matchesFile;
    if (matchesFile.Open(folder.Matches()))
        WriteMatches(matchesFile, booklist, MatchesRunLine(stamp));
    output.Finish();
    matchesFile.Finish();
    reviewed.get();
    CommitTogether({&output, &matchesFile, &reviewFile});
    result.outputCreated = output.Result().written;
    result.outputFailure = output.Reason();
    result.matchesSaved = matchesFile.Result().written;
    result.matchesFailure = matchesFile.Reason();
    result.reviewSaved = reviewFile.Result().written;
    result.reviewFailure = reviewFile.Reason();
    result.matches = run.matches;
    result.notWritten = run.notWritten;
    result.malformed = run.malformed;

    services.PauseWithEvents(1000);
    services.PollProgressWindow();
    services.CloseProgressWindow();
    services.PauseWithEvents(1000);
    return result;
}
