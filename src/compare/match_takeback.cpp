#include "compare/match_takeback.h"

#include <algorithm>
#include <set>

#include "base/regular_file.h"
#include "base/replacing_file.h"
#include "booklist/booklist.h"
#include "booklist/folder_writer_lock.h"
#include "booklist/matches.h"
#include "compare/match_review.h"

namespace {

constexpr const char* RunAgain = "; run the comparison again";

// The entry as the remaining rows leave it: matched with the call number of the last of them, as
// a comparison would have left it, or unmatched.
void RestoreEntry(Booklist& booklist, const std::string& id,
                  const std::vector<ReviewRow>& remaining) {
    for (auto row = remaining.rbegin(); row != remaining.rend(); ++row) {
        if (row->id == id && !row->takenBack) {
            booklist.MarkMatched(id, row->callNumber);
            return;
        }
    }
    if (booklist.LookupLine(id).empty()) return;
    BookRecord record = booklist.LookupRecord(id);
    record.matched = 0;
    record.callNumber.clear();
    booklist.StoreRecord(record);
}

}  // namespace

TakeBackResult TakeBackMatches(Booklist& booklist, const DataFolder& folder,
                               const std::vector<int>& rows, Services&) {
    const FolderWriterLock lock(folder);
    if (!lock.Held()) return {false, FolderBusyText(folder)};
    if (const std::string special =
            FirstSpecialFile({folder.Output(), folder.Matches(), folder.MatchReview()});
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
    std::vector<ReviewRow>* const review = &read.rows;
    std::vector<bool> taken(review->size(), false);
    for (const int row : rows) {
        if (row < 1 || static_cast<std::size_t>(row) > review->size())
            return {false, "there is no row " + std::to_string(row) + " in the match review"};
        // Rows keep their numbers once taken back, so that a number given twice, or typed again
        // after an earlier take-back, cannot name another book.
        if ((*review)[static_cast<std::size_t>(row) - 1].takenBack)
            return {false, "row " + std::to_string(row) + " was already taken back"};
        taken[static_cast<std::size_t>(row) - 1] = true;
    }

    // The records to cut, checked to be still where the comparison wrote them.
    std::vector<std::pair<std::int64_t, std::int64_t>> cuts;
    for (std::size_t k = 0; k < review->size(); ++k) {
        if (taken[k] && (*review)[k].written)
            cuts.emplace_back((*review)[k].offset, (*review)[k].length);
    }
    std::string output;
    if (!cuts.empty()) {
        std::string reason;
        std::optional<std::string> read = ReadRegularFile(folder.Output(), reason);
        if (!read) return {false, "cannot read " + folder.Output() + ": " + reason + RunAgain};
        output = std::move(*read);
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
    if (!cuts.empty()) kept.append(output, static_cast<std::size_t>(at));
    // cutBefore[i]: the bytes cut before the i-th cut, so that a row finds its shift by search
    // however many rows are taken at once.
    std::vector<std::int64_t> cutBefore(cuts.size() + 1, 0);
    for (std::size_t i = 0; i < cuts.size(); ++i)
        cutBefore[i + 1] = cutBefore[i] + cuts[i].second;
    std::vector<ReviewRow>& remaining = *review;  // every row, those taken back marked so
    std::set<std::string> affected;
    for (std::size_t k = 0; k < remaining.size(); ++k) {
        ReviewRow& row = remaining[k];
        if (taken[k]) {
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

    // Each file is replaced whole, the output first: a later step that fails leaves files that
    // still agree with what the librarian is told.
    if (!cuts.empty()) {
        if (const FileWriteResult written = ReplaceFileContents(folder.Output(), kept); !written)
            return {false, "cannot write " + folder.Output() + ": " + written.reason};
    }
    for (const std::string& id : affected)
        RestoreEntry(booklist, id, remaining);
    if (const FileWriteResult written = WriteMatchesFile(folder, booklist); !written)
        return {false, "cannot write " + folder.Matches() + ": " + written.reason};
    if (const FileWriteResult written = SaveMatchReview(folder, remaining); !written)
        return {false, "cannot write " + folder.MatchReview() + ": " + written.reason};
    return {true, {}};
}
