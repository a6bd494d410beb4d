#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/growing_buffer.h"
#include "base/replacing_file.h"
#include "booklist/data_folder.h"
#include "compare/catalogue_text.h"
#include "compare/run_stamp.h"

// How a catalogue record came to match a booklist entry: by the three tests, from the surest to
// the loosest, or else by an ISBN both give.
enum class MatchKind { AuthorAndTitle, SameTitle, TitleInside, Series, Isbn };

// "author and title", "same title", "title inside", "series" or "ISBN".
const char* MatchKindText(MatchKind kind);
std::optional<MatchKind> MatchKindFromText(std::string_view text);

// One matched record of a comparison, as the librarian reviews it.
struct ReviewRow {
    std::string id;  // the booklist entry's ID
    std::string bookTitle;
    std::string bookAuthor;
    MatchKind kind = MatchKind::AuthorAndTitle;
    std::string controlNumber;  // the record's 001, empty when it has none
    std::string catalogueTitle;
    std::string catalogueAuthor;
    std::string callNumber;  // as extracted
    // The record's encoding, which its texts were decoded from: every text of a row is UTF-8.
    CatalogueEncoding coding = CatalogueEncoding::Utf8;
    // Where the tagged record lies in "OUTPUT.MRC"; not `written` when it was not written.
    bool written = false;
    std::int64_t offset = 0;
    std::int64_t length = 0;
    std::string checksum;   // of the bytes written, in hex
    bool repeated = false;  // the entry is matched by more than one record of the run
    // The match was taken back: the record was cut from "OUTPUT.MRC", and the row keeps its
    // number, placing nothing and counting for no entry.
    bool takenBack = false;
    // The record was found to be the entry again, a pair taken back at an earlier run: it was not
    // matched, and the row counts for nothing.
    bool rejectedEarlier = false;
};

// Whether the row is a match that stands: neither taken back nor rejected earlier.
inline bool Stands(const ReviewRow& row) {
    return !row.takenBack && !row.rejectedEarlier;
}

// Whether the librarian should look at the row: a loose match, or an entry matched twice, not
// taken back.
bool NeedsCheck(const ReviewRow& row);

// The checksum a row keeps of the bytes written for its record.
std::string RecordChecksum(std::string_view bytes);

// Marks the rows whose entry more than one row has.
void MarkRepeatedEntries(std::vector<ReviewRow>& rows);

// Where a matched record's tagged bytes went in "OUTPUT.MRC"; `bytes` empty when not written.
struct WrittenRecord {
    std::int64_t offset = 0;
    std::string_view bytes;
};

// "MatchReview.txt" as a comparison makes it: a header line, then one tab-separated line per
// matched record in catalogue order, its first column the row number from 1, the last but one
// "1" for an entry matched by more than one record and "0" otherwise, the last "taken back" for a
// match taken back since, "rejected earlier" for a pair taken back at an earlier run, else empty;
// TAB, CR, LF and NUL in texts are written as spaces. The file is UTF-8 throughout: the booklist's
// texts are turned from windows-1252, the record's decoded by the encoding the Coding column names,
// given as its bytes to the first Add. Each line is formatted once, as its record matches; the
// marks of repeated entries are set and the file written when the run ends.
class RunReview {
  public:
    // Starts the review of the folder's run.
    bool Open(const DataFolder& folder);
    void Add(std::string_view id, std::string_view bookTitle, std::string_view bookAuthor,
             MatchKind kind, std::string_view controlNumber, std::string_view catalogueTitle,
             std::string_view catalogueAuthor, std::string_view callNumber,
             CatalogueEncoding coding, const WrittenRecord& written, bool rejectedEarlier = false);
    void Add(const ReviewRow& row);
    std::size_t Size() const { return rows_.size(); }
    // Marks the repeated entries and writes the review into `file`, opened on the folder's
    // "MatchReview.txt", after `runLine` (given without its line end) when there is one.
    void WriteTo(ReplacingFile& file, std::string_view runLine);
    // The same, put in the place of the earlier file at once, without a run line.
    FileWriteResult Finish();

  private:
    // Appends the row's line; with `plainOnly`, nothing and false when a text is not plain ASCII.
    bool WriteLine(std::string_view id, std::string_view bookTitle, std::string_view bookAuthor,
                   MatchKind kind, std::string_view controlNumber, std::string_view catalogueTitle,
                   std::string_view catalogueAuthor, std::string_view callNumber,
                   CatalogueEncoding coding, std::string_view place, std::string_view state,
                   bool plainOnly);
    struct Row {  // where a line's ID and its "0" of the Repeated column lie in the file
        std::size_t idAt;
        std::size_t idSize;
        std::size_t markAt;
        bool counted;  // its State is empty
    };
    std::string path_;
    GrowingBuffer text_;  // the file as it will be written
    std::vector<Row> rows_;
};

FileWriteResult SaveMatchReview(const DataFolder& folder, const std::vector<ReviewRow>& rows);

// The folder's "MatchReview.txt" as read back. It is damaged unless it is whole as a comparison or
// a take-back writes it: the header, then rows numbered from 1 in order, each line ending in
// CR LF, no NUL byte, every number written plainly, and the records it places in "OUTPUT.MRC" one
// after another, none overlapping the one before.
struct MatchReviewFile {
    enum class State {
        None,     // there is none: no comparison has been run since the booklist came
        Damaged,  // there is one, but it cannot be read as a whole review
        Read,
    };
    State state = State::None;
    std::vector<ReviewRow> rows;  // in order, when read
    // The run that wrote it; nothing for a review written before runs were stamped.
    std::optional<ReviewRun> run;
};
MatchReviewFile ReadMatchReview(const DataFolder& folder);
// The rows alone; nothing when there is no review or it is damaged.
std::optional<std::vector<ReviewRow>> LoadMatchReview(const DataFolder& folder);
