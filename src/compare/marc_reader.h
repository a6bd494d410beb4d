#pragma once
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/block_reader.h"
#include "compare/call_number.h"
#include "compare/marc_record.h"

// A record longer than this keeps only its first bytes; the rest is read past up to its
// terminator, so that a file without record terminators still runs in bounded memory.
inline constexpr std::size_t MaxRecordBytes = 16 * 1024 * 1024;

// Bytes read from the file at a time by a comparison: large reads, yet a block small enough to stay
// in the processor's cache beside the booklist's filter tables, which a megabyte-long block pushed
// out (measured: a sixth of the comparison's time on the benchmark catalogue).
inline constexpr std::size_t MarcReadBlockBytes = 1 << 17;

// A regular catalogue file is read through the memory map this many bytes at a time: the records
// are looked at where the system keeps the file, without copying them, and the memory the
// process holds stays bounded.
inline constexpr std::size_t MarcMapWindowBytes = 4 << 20;

// Reads a catalogue file forward in large blocks, only the record in hand kept in memory.
class MarcFileReader {
  public:
    explicit MarcFileReader(std::FILE* file, std::size_t blockBytes = MarcReadBlockBytes,
                            std::size_t mapWindowBytes = MarcMapWindowBytes);
    MarcFileReader(const MarcFileReader&) = delete;
    MarcFileReader& operator=(const MarcFileReader&) = delete;

    // Whether the file has no bytes left.
    bool AtEnd() { return blocks_.AtEnd(); }
    // Bytes consumed so far.
    std::int64_t Position() const { return blocks_.Position(); }
    // Bytes that the searches for record ends have looked at so far. A record's search stops at
    // its end, so reading costs time in proportion to the bytes read, whatever they hold.
    std::int64_t Examined() const { return examined_; }

    // The next byte, or -1 at the end of the file.
    int Next() { return blocks_.Next(); }
    // The unread rest of the block in hand, for a reader of another form of records; Consume
    // marks its first bytes used.
    std::string_view Available() { return blocks_.Available(); }
    void Consume(std::size_t count) { blocks_.Consume(count); }
    // Appends bytes up to and including the first record terminator, stopping before a NUL
    // byte (which is consumed, not appended) or at the end of the file.
    void TakeRecordBody(std::string& record);
    // The next record when it lies whole in the block in hand and starts with none of the bytes
    // that ReadMarcRecord treats apart; otherwise empty, and nothing but line breaks and NUL
    // bytes is consumed.
    std::string_view TakeWholeRecord();

  private:
    BlockReader blocks_;
    std::int64_t examined_ = 0;
};

// The next record's bytes, its terminator included when there is one. Lines starting with "%",
// line breaks and NUL bytes before the record are skipped; a NUL byte or the end of the file
// ends it. Empty when nothing but those was left: no record, and not to be counted as one.
void ReadMarcRecord(MarcFileReader& reader, std::string& record);
// The same record, without a copy when it lies whole in the block read: then a view into the
// reader's block, valid until the next read; otherwise copied into `spill`.
std::string_view NextMarcRecord(MarcFileReader& reader, std::string& spill);

// Whether the bytes read as a record are one in earnest: a base address (read as SplitMarcRecord
// reads it) of at least 37 with the field terminator that closes the directory just before it.
// A CSV, a PDF or an empty line has none, however the reader splits it.
bool IsMarcRecord(std::string_view bytes);

// Fills the leader and the field texts of `record` from the record's bytes; gives the number of
// fields. The fields are taken in directory order from the terminator-separated data area.
std::size_t SplitMarcRecord(std::string_view bytes, CatalogueRecord& record);

// Empties title, author, call number and series, then fills them from the field texts; the call
// number from the fields `order` names.
void ExtractBookData(CatalogueRecord& record, CallNumberOrder order = CallNumberOrder::DeweyFirst);
// The same texts straight from a record's bytes, as SplitMarcRecord followed by the above would
// give them, without splitting the record or copying it; the record's fields are left as they are.
void ExtractBookData(std::string_view bytes, CatalogueRecord& record,
                     CallNumberOrder order = CallNumberOrder::DeweyFirst);

// The author that SplitMarcRecord and ExtractBookData would give for the record's bytes, found
// without splitting the record or copying it.
void ExtractAuthor(std::string_view bytes, std::string& author);

// The fields of one record's bytes that hold the texts above (tags 082, 100, 110, 245, 440 and
// 490, 020, and the call-number fields besides 082), found with one pass over the directory and one
// over the data, so that a comparison can look at the author first and take the rest only when it
// is wanted. Reused from record to record; the bytes must stay while it is used.
enum class BookText { Title, Author, CallNumber, Series, Isbn };

class BookFieldIndex {
  public:
    struct Piece {
        std::int32_t tag;
        std::size_t at;
        std::size_t length;
    };

    void SetCallNumberOrder(CallNumberOrder order) { order_ = order; }
    void Index(std::string_view bytes);
    // What ExtractAuthor and ExtractBookData give for the bytes indexed.
    void AuthorInto(std::string& author);
    // The value that the author AuthorInto gives begins with, when that is the first subfield of
    // the first author field, an $a that no later $a of the field replaces; otherwise empty.
    std::string_view AuthorLead() const;
    void TextsInto(CatalogueRecord& record);
    // Only one of the texts, the others left as they are: most records are turned down on their
    // title, and need neither their series nor their call number.
    void TextInto(CatalogueRecord& record, BookText text);
    // The ISBN-13 of every $a of every 020 that holds one, in field order.
    void IsbnsInto(std::vector<std::uint64_t>& isbns);

  private:
    // Turns pieces that hold their directory entry's number in `at` into their places in the
    // bytes; the last piece's entry is the last one looked for.
    void Place(std::span<Piece> pieces);
    // The call-number fields besides 082, found the first time they are wanted.
    std::span<const Piece> CallPieces();

    CallNumberOrder order_ = CallNumberOrder::DeweyFirst;
    std::string_view bytes_;
    std::size_t areaStart_ = 0;
    std::size_t areaEnd_ = 0;
    std::size_t areaCount_ = 0;  // directory entries
    std::vector<Piece> pieces_;  // the first `pieceCount_` are this record's
    std::size_t pieceCount_ = 0;
    std::vector<Piece> callPieces_;  // the call-number fields besides 082, once found
    bool callPiecesPlaced_ = false;
    std::vector<std::size_t> ends_;
    std::string statement_;  // scratch
    OtherCallNumbers otherCallNumbers_;
};

// Over the subfield area of a data field (its content from the first subfield code on): the
// number of delimiters plus one, 0 for an empty area; and the n-th piece (from 1, an index below
// 1 counts as 1), empty when there are fewer. A piece is its one-character code and its value.
int SubfieldCount(std::string_view area);
std::string_view SubfieldAt(std::string_view area, int index);

// At most this many series statements of one record are kept; later ones are ignored.
inline constexpr int MaxSeriesStatements = 1000;
