#include "compare/match_takeback.h"

#include <algorithm>
#include <map>
#include <set>

#include "base/regular_file.h"
#include "base/replacing_file.h"
#include "base/text_encoding.h"
#include "booklist/booklist.h"
#include "booklist/folder_writer_lock.h"
#include "booklist/keys.h"
#include "booklist/matches.h"
#include "compare/catalogue_text.h"
#include "compare/match_review.h"
#include "compare/matching.h"
#include "compare/rejected_pairs.h"
#include "compare/run_stamp.h"

namespace {

constexpr const char* RunAgain = "; run the comparison again";

// "Matches.tul" as the take-back leaves it, made from the file on disk rather than from the
// booklist in memory, which may be older than the file: each affected entry's line goes, or gives
// the call number of the last row that still matches it, as a comparison would have left it.
std::string MatchesAfter(std::string_view onDisk, const std::set<std::string>& affected,
                         const std::vector<ReviewRow>& rows, std::string_view runLine) {
    // The review's texts are UTF-8; "Matches.tul" is the booklist's, windows-1252.
    std::map<std::string, std::string> stillMatched;  // id -> call number
    for (const ReviewRow& row : rows) {
        if (Stands(row) && affected.contains(row.id))
            stillMatched[row.id] = Windows1252FromUtf8(row.callNumber);
    }
    std::string text = std::string(runLine) + "\r\n";
    std::set<std::string> written;
    for (std::size_t at = 0; at < onDisk.size();) {
        std::size_t end = onDisk.find('\n', at);
        end = end == std::string_view::npos ? onDisk.size() : end + 1;
        const std::string_view line = onDisk.substr(at, end - at);
        at = end;
        if (line.starts_with("#run ")) continue;
        const std::string id(line.substr(0, std::min(line.find(','), line.find_first_of("\r\n"))));
        if (!affected.contains(id)) {
            text += line;
            continue;
        }
        const auto still = stillMatched.find(id);
        if (still == stillMatched.end() || !written.insert(id).second) continue;
        text += id + "," + still->second + "\r\n";
    }
    for (const auto& [id, callNumber] : stillMatched) {
        if (!written.contains(id)) text += id + "," + callNumber + "\r\n";
    }
    return text;
}

// The pair a taken-back row makes, from the review's decoded texts and, for the 003 the review
// does not keep, the record's bytes when it was written.
RejectedPair PairOfRow(const ReviewRow& row, std::string_view bytes) {
    RejectedPair pair{row.id, row.controlNumber, {}, {}, {}};
    if (!bytes.empty()) {
        CatalogueRecord record;
        SplitMarcRecord(bytes, record);
        pair.controlSource =
            CatalogueTextAsUtf8(record.FirstFieldOf("003"), DecideCatalogueEncoding(bytes));
    }
    AppendNormalisedKeyOfUtf8(row.catalogueTitle, pair.titleKey);
    AppendNormalisedKeyOfUtf8(CatalogueSurnamePart(row.catalogueAuthor), pair.surnameKey);
    return pair;
}

}  // namespace

TakeBackResult TakeBackMatches(Booklist& booklist, const DataFolder& folder,
                               const std::vector<int>& rows, Services&) {
    const FolderWriterLock lock(folder);
    if (!lock.Held()) return {false, FolderBusyText(folder)};
    if (const std::string special = FirstSpecialFile(
            {folder.Output(), folder.Matches(), folder.MatchReview(), folder.Rejected()});
        !special.empty()) {
        return {false, "cannot write " + special + ": it is not a regular file"};
    }
    MatchReviewFile read = ReadMatchReview(folder);
    if (read.state == MatchReviewFile::State::None)
        return {false, std::string("there is no match review") + RunAgain};
    // A row repeated, cut short or with a number that does not read plainly would make the cuts
    // overlap or miss their record: nothing is taken back from a review that is not whole.
    if (read.state == MatchReviewFile::State::Damaged)
        return {false, folder.MatchReview() + " is damaged" + RunAgain, true};
    // Only the three results of one run fit together: a review whose "OUTPUT.MRC" or
    // "Matches.tul" another run (or none, before runs were stamped) wrote would cut the wrong
    // bytes.
    if (!read.run) return {false, MixedRunsText};
    std::string output;
    std::string matches;
    {
        std::string reason;
        std::optional<std::string> outputRead = ReadRegularFile(folder.Output(), reason);
        std::optional<std::string> matchesRead = ReadRegularFile(folder.Matches(), reason);
        if (!outputRead || !matchesRead || !ResultsOfRun(*read.run, *matchesRead, *outputRead))
            return {false, MixedRunsText};
        output = std::move(*outputRead);
        matches = std::move(*matchesRead);
    }
    std::vector<ReviewRow>* const review = &read.rows;
    std::vector<bool> taken(review->size(), false);
    for (const int row : rows) {
        if (row < 1 || static_cast<std::size_t>(row) > review->size())
            return {false, "there is no row " + std::to_string(row) + " in the match review"};
        // Rows keep their numbers once taken back, so that a number given twice, or typed again
        // after an earlier take-back, cannot name another book.
        if ((*review)[static_cast<std::size_t>(row) - 1].takenBack)
            return {false, "row " + std::to_string(row) + " was already taken back"};
        if ((*review)[static_cast<std::size_t>(row) - 1].rejectedEarlier)
            return {false, "row " + std::to_string(row) + " was rejected earlier: it is no match"};
        taken[static_cast<std::size_t>(row) - 1] = true;
    }

    // The records to cut, checked to be still where the comparison wrote them.
    std::vector<std::pair<std::int64_t, std::int64_t>> cuts;
    for (std::size_t k = 0; k < review->size(); ++k) {
        if (taken[k] && (*review)[k].written)
            cuts.emplace_back((*review)[k].offset, (*review)[k].length);
    }
    for (std::size_t k = 0; k < review->size(); ++k) {
        const ReviewRow& row = (*review)[k];
        if (!taken[k] || !row.written) continue;
        const auto end = static_cast<std::uint64_t>(row.offset + row.length);
        if (end > output.size() || RecordChecksum(std::string_view(output).substr(
                                       static_cast<std::size_t>(row.offset),
                                       static_cast<std::size_t>(row.length))) != row.checksum) {
            return {false, folder.Output() + " has changed since the comparison" + RunAgain};
        }
    }

    // The output without the cut records; the rows after a cut move up by what went before them.
    std::sort(cuts.begin(), cuts.end());
    std::string kept;
    kept.reserve(output.size());
    std::int64_t at = 0;
    for (const auto& [offset, length] : cuts) {
        kept.append(output, static_cast<std::size_t>(at), static_cast<std::size_t>(offset - at));
        at = offset + length;
    }
    kept.append(output, static_cast<std::size_t>(at));
    // cutBefore[i]: the bytes cut before the i-th cut, so that a row finds its shift by search
    // however many rows are taken at once.
    std::vector<std::int64_t> cutBefore(cuts.size() + 1, 0);
    for (std::size_t i = 0; i < cuts.size(); ++i)
        cutBefore[i + 1] = cutBefore[i] + cuts[i].second;
    std::vector<ReviewRow>& remaining = *review;  // every row, those taken back marked so
    std::set<std::string> affected;
    // "Not a match" stays said: each pair taken back is kept for later comparisons.
    std::vector<RejectedPair> rejected = ReadRejectedPairs(folder);
    for (std::size_t k = 0; k < remaining.size(); ++k) {
        ReviewRow& row = remaining[k];
        if (taken[k]) {
            const std::string_view bytes =
                row.written ? std::string_view(output).substr(static_cast<std::size_t>(row.offset),
                                                              static_cast<std::size_t>(row.length))
                            : std::string_view();
            RejectedPair pair = PairOfRow(row, bytes);
            if (std::find(rejected.begin(), rejected.end(), pair) == rejected.end())
                rejected.push_back(std::move(pair));
            affected.insert(row.id);
            row.takenBack = true;
            row.written = false;
            row.offset = row.length = 0;
            row.checksum.clear();
            continue;
        }
        if (row.written) {
            const auto after = std::lower_bound(
                cuts.begin(), cuts.end(), row.offset,
                [](const auto& cut, std::int64_t offset) { return cut.first < offset; });
            row.offset -= cutBefore[static_cast<std::size_t>(after - cuts.begin())];
        }
    }
    MarkRepeatedEntries(remaining);

    // The three results of the take-back, a run of its own, are put in place together.
    const std::string stamp = NewRunStamp();
    OutputDigest digest;
    digest.Add(kept);
    ReplacingFile outputFile;
    ReplacingFile matchesFile;
    ReplacingFile reviewFile;
    ReplacingFile rejectedFile;
    if (outputFile.Open(folder.Output())) outputFile.Write(kept);
    if (rejectedFile.Open(folder.Rejected())) rejectedFile.Write(RejectedPairsText(rejected));
    if (matchesFile.Open(folder.Matches()))
        matchesFile.Write(MatchesAfter(matches, affected, remaining, MatchesRunLine(stamp)));
    if (reviewFile.Open(folder.MatchReview())) {
        RunReview review;
        review.Open(folder);
        for (const ReviewRow& row : remaining)
            review.Add(row);
        review.WriteTo(reviewFile, ReviewRunLine(stamp, digest));
    }
    if (!CommitTogether({&outputFile, &matchesFile, &reviewFile, &rejectedFile})) {
        for (const auto& [file, path] :
             {std::pair{&outputFile, folder.Output()}, std::pair{&matchesFile, folder.Matches()},
              std::pair{&reviewFile, folder.MatchReview()},
              std::pair{&rejectedFile, folder.Rejected()}}) {
            if (file->Failed() && file->Reason() != NotPlacedWithTheOthers)
                return {false, "cannot write " + path + ": " + file->Reason()};
        }
        return {false, std::string("cannot write the results: ") + NotPlacedWithTheOthers};
    }
    // The booklist takes its matches from the file as now written.
    booklist.ClearAllMatches();
    LoadMatches(folder, booklist);
    return {true, {}};
}

TakeBackResult ForgetRejection(const DataFolder& folder, int row) {
    const FolderWriterLock lock(folder);
    if (!lock.Held()) return {false, FolderBusyText(folder)};
    if (const std::string special = FirstSpecialFile({folder.Rejected()}); !special.empty())
        return {false, "cannot write " + special + ": it is not a regular file"};
    const MatchReviewFile read = ReadMatchReview(folder);
    if (read.state == MatchReviewFile::State::None)
        return {false, std::string("there is no match review") + RunAgain};
    if (read.state == MatchReviewFile::State::Damaged)
        return {false, folder.MatchReview() + " is damaged" + RunAgain, true};
    if (row < 1 || static_cast<std::size_t>(row) > read.rows.size())
        return {false, "there is no row " + std::to_string(row) + " in the match review"};
    const ReviewRow& reviewed = read.rows[static_cast<std::size_t>(row) - 1];
    if (Stands(reviewed))
        return {false, "row " + std::to_string(row) + " is a match: there is nothing to undo"};
    // The record's bytes are gone from "OUTPUT.MRC": the pair is known by its entry and its 001,
    // or by its keys when the record has no 001.
    const RejectedPair wanted = PairOfRow(reviewed, {});
    std::vector<RejectedPair> pairs = ReadRejectedPairs(folder);
    const auto before = pairs.size();
    std::erase_if(pairs, [&](const RejectedPair& pair) {
        return pair.id == wanted.id && pair.controlNumber == wanted.controlNumber &&
               (!pair.controlNumber.empty() ||
                (pair.titleKey == wanted.titleKey && pair.surnameKey == wanted.surnameKey));
    });
    if (pairs.size() == before)
        return {false, "row " + std::to_string(row) + " has no rejected pair kept"};
    if (const FileWriteResult written =
            ReplaceFileContents(folder.Rejected(), RejectedPairsText(pairs));
        !written)
        return {false, "cannot write " + folder.Rejected() + ": " + written.reason};
    return {true, {}};
}
