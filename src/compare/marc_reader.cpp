#include "compare/marc_reader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

#include "base/byte_positions.h"
#include "base/byte_scan.h"
#include "base/text.h"
#include "booklist/isbn.h"
#include "compare/delimiter_search.h"

MarcFileReader::MarcFileReader(std::FILE* file, std::size_t blockBytes, std::size_t mapWindowBytes)
    : blocks_(file, blockBytes, mapWindowBytes) {}

void MarcFileReader::TakeRecordBody(std::string& record) {
    for (;;) {
        const std::string_view block = blocks_.Available();
        if (block.empty()) return;
        const std::size_t end = FindRecordEnd(block.data(), block.size());
        const bool ended = end < block.size();
        // The terminator belongs to the record; a NUL is consumed but kept out of it.
        const std::size_t kept = ended && block[end] == RecordTerminator ? end + 1 : end;
        const std::size_t consumed = ended ? end + 1 : block.size();
        if (record.size() < MaxRecordBytes) {
            record.append(block.data(), std::min(kept, MaxRecordBytes - record.size()));
        }
        blocks_.Consume(consumed);
        examined_ += static_cast<std::int64_t>(consumed);
        if (ended) return;
    }
}

namespace {

void ReadMarcRecordCopied(MarcFileReader& reader, std::string& record) {
    record.clear();
    for (;;) {
        const int first = reader.Next();
        if (first == '%') {
            // A comment line: skip it. The LF of a CR LF ending is skipped below as a line
            // break of its own, which comes to the same.
            int c = reader.Next();
            while (c != -1 && c != '\r' && c != '\n')
                c = reader.Next();
            continue;
        }
        if (first == '\r' || first == '\n' || first == '\0') continue;
        if (first == RecordTerminator) {
            record += RecordTerminator;
            return;
        }
        // The end of the file reads as a NUL byte, which is never part of a record.
        if (first > 0) record += static_cast<char>(first);
        if (first == -1) return;
        reader.TakeRecordBody(record);
        return;
    }
}

}  // namespace

std::string_view MarcFileReader::TakeWholeRecord() {
    // Line breaks and NUL bytes between records are passed over a run at a time: a file of
    // nothing else (a sparse file, say) is read through at the speed of the search.
    static constexpr std::string_view BetweenRecords("\r\n\0", 3);
    std::string_view block = blocks_.Available();
    while (!block.empty() && BetweenRecords.find(block[0]) != std::string_view::npos) {
        const std::size_t run = block.find_first_not_of(BetweenRecords);
        blocks_.Consume(run == std::string_view::npos ? block.size() : run);
        block = blocks_.Available();
    }
    if (block.empty()) return {};
    const char first = block[0];
    if (first == '%' || first == '\r' || first == '\n' || first == RecordTerminator ||
        first == '\0') {
        return {};
    }
    const std::size_t end = 1 + FindRecordEnd(block.data() + 1, block.size() - 1);
    if (end == block.size() || block.size() > MaxRecordBytes) return {};
    const std::size_t kept = block[end] == RecordTerminator ? end + 1 : end;
    blocks_.Consume(end + 1);
    examined_ += static_cast<std::int64_t>(end);
    return block.substr(0, kept);
}

std::string_view NextMarcRecord(MarcFileReader& reader, std::string& spill) {
    if (const std::string_view whole = reader.TakeWholeRecord(); !whole.empty()) return whole;
    ReadMarcRecordCopied(reader, spill);
    return spill;
}

void ReadMarcRecord(MarcFileReader& reader, std::string& record) {
    const std::string_view bytes = NextMarcRecord(reader, record);
    if (bytes.data() != record.data()) record.assign(bytes);
}

namespace {

// The base address of data: digits after leading spaces, up to the first other byte.
std::size_t BaseAddressOf(std::string_view bytes) {
    std::size_t at = 12;
    const std::size_t end = 17;
    while (at < end && bytes[at] == ' ')
        ++at;
    std::size_t value = 0;
    for (; at < end && bytes[at] >= '0' && bytes[at] <= '9'; ++at)
        value = value * 10 + (bytes[at] - '0');
    return value;
}

}  // namespace

bool IsMarcRecord(std::string_view bytes) {
    const std::size_t base = bytes.size() < 40 ? 0 : BaseAddressOf(bytes);
    return base >= 37 && base <= bytes.size() && bytes[base - 1] == FieldTerminator;
}

namespace {

// Where the fields of a record's bytes lie as SplitMarcRecord takes them: how many directory
// entries, and the data area, which runs from the first field terminator to the record
// terminator; the record terminator itself is no part of any field, even when the last field
// lacks its own. Not `valid` when the base address leaves no room for a directory.
struct DataArea {
    bool valid = false;
    bool directoryDigits = false;  // the directory is ASCII digits alone
    std::size_t count = 0;
    std::size_t start = 0;
    std::size_t end = 0;
};

bool LeaderHoldsFieldTerminator(std::string_view bytes) {
    return (MatchingBytes(LoadWord(bytes.data()), FieldTerminator) |
            MatchingBytes(LoadWord(bytes.data() + 8), FieldTerminator) |
            MatchingBytes(LoadWord(bytes.data() + 16), FieldTerminator)) != 0;
}

DataArea DataAreaOf(std::string_view bytes) {
    DataArea area;
    const std::size_t base = bytes.size() < 40 ? 0 : BaseAddressOf(bytes);
    if (base < 37) return area;
    area.valid = true;
    const std::size_t directoryEnd = std::min(bytes.size(), base - 1);
    area.count = std::min((directoryEnd - 24) / 12, MaxFieldTexts);
    area.start = area.end = bytes.size();
    area.directoryDigits = AllAsciiDigits(bytes.data() + 24, directoryEnd - 24);
    // In a well-formed record the first field terminator is the one that closes a directory of
    // digits: then it need not be looked for.
    const bool closedWhereSaid = area.directoryDigits && directoryEnd < bytes.size() &&
                                 bytes[directoryEnd] == FieldTerminator &&
                                 !LeaderHoldsFieldTerminator(bytes);
    if (const std::size_t first = closedWhereSaid ? directoryEnd : bytes.find(FieldTerminator);
        first != std::string_view::npos) {
        area.start = first + 1;
        if (area.end > area.start && bytes[area.end - 1] == RecordTerminator) --area.end;
    }
    return area;
}

// Calls `visit(k, contentAt, contentLength)` for the first `count` fields: the pieces of the data
// area between field terminators, taken in directory order, the last one found running to the
// end and any after it empty.
template <typename Visit>
void ForEachFieldPiece(std::string_view bytes, const DataArea& area, std::size_t count,
                       Visit visit) {
    thread_local std::vector<std::size_t> ends;
    ends.resize(count);
    const std::size_t found =
        FindFieldTerminators(bytes.data(), area.start, area.end, ends.data(), count);
    std::size_t at = area.start;
    for (std::size_t k = 0; k < count; ++k) {
        if (k < found) {
            visit(k, at, ends[k] - at);
            at = ends[k] + 1;
        } else if (k == found) {
            visit(k, at, area.end - at);  // runs to the end
        } else {
            visit(k, area.end, 0);  // no piece left
        }
    }
}

}  // namespace

std::size_t SplitMarcRecord(std::string_view given, CatalogueRecord& record) {
    record.leader.assign(given.substr(0, 24));
    const DataArea area = DataAreaOf(given);
    if (!area.valid) {
        record.ClearFields();
        return 0;
    }
    const std::string_view bytes = record.AdoptBytes(given);
    ForEachFieldPiece(bytes, area, area.count,
                      [&](std::size_t k, std::size_t contentAt, std::size_t contentLength) {
                          record.AddAdoptedField(24 + k * 12, contentAt, contentLength);
                      });
    return area.count;
}

int SubfieldCount(std::string_view area) {
    if (area.empty()) return 0;
    return static_cast<int>(std::count(area.begin(), area.end(), SubfieldDelimiter)) + 1;
}

std::string_view SubfieldAt(std::string_view area, int index) {
    std::size_t at = 0;
    for (int n = 1; n < index; ++n) {
        const std::size_t next = area.find(SubfieldDelimiter, at);
        if (next == std::string_view::npos) return {};
        at = next + 1;
    }
    const std::size_t end = area.find(SubfieldDelimiter, at);
    return area.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Calls `visit(code, value)` for every subfield of an area; an empty piece has code 0.
template <typename Visit>
void ForEachSubfield(std::string_view area, Visit visit) {
    if (area.empty()) return;
    std::size_t at = 0;
    for (;;) {
        const std::size_t end = area.find(SubfieldDelimiter, at);
        const std::string_view piece =
            area.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        visit(piece.empty() ? '\0' : piece[0], piece.empty() ? piece : piece.substr(1));
        if (end == std::string_view::npos) return;
        at = end + 1;
    }
}

// An author or series statement: "a" sets it, every other subfield adds a space and its value.
void BuildStatement(std::string_view area, std::string& statement) {
    statement.clear();
    ForEachSubfield(area, [&](char code, std::string_view value) {
        if (code == 'a') {
            statement.assign(value);
        } else {
            statement += ' ';
            statement += value;
        }
    });
}

bool SameUpperCased(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UpperAsciiChar(a[i]) != UpperAsciiChar(b[i])) return false;
    }
    return true;
}

// Whether one of the "~"-separated pieces of the series, trimmed, equals the statement.
bool SeriesHolds(std::string_view series, std::string_view statement) {
    std::size_t at = 0;
    for (;;) {
        const std::size_t end = series.find('~', at);
        const std::string_view piece = TrimSpaces(
            series.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        if (!piece.empty() && SameUpperCased(piece, statement)) return true;
        if (end == std::string_view::npos) return false;
        at = end + 1;
    }
}

// A field's tag as a number; LeaderTag for a leader put among the fields.
constexpr std::int32_t LeaderTag = -1;
std::int32_t OtherTagValueOf(std::string_view tag) {
    if (TagCode(tag) == TagCode("LDR")) return LeaderTag;
    return static_cast<std::int32_t>(ReadWholeNumber(tag));
}
// Every directory entry is read, so the common three-digit tag is kept small enough to inline.
inline std::int32_t TagValueOf(std::string_view tag) {
    if (tag.size() == 3 && IsDigit(tag[0]) && IsDigit(tag[1]) && IsDigit(tag[2])) {
        return (tag[0] - '0') * 100 + (tag[1] - '0') * 10 + (tag[2] - '0');
    }
    return OtherTagValueOf(tag);
}

// A data field's content less its indicators, trimmed.
std::string_view SubfieldAreaOf(std::string_view content) {
    return TrimSpaces(content.size() > 3 ? content.substr(3) : std::string_view());
}

// A title: its $a, then a space and each $b, trimmed; an $a after others replaces them.
void TitleInto(std::string_view area, std::string& title) {
    ForEachSubfield(area, [&](char code, std::string_view value) {
        if (code == 'a') {
            title.assign(TrimSpaces(value));
        } else if (code == 'b') {
            title += ' ';
            title += TrimSpaces(value);
        }
    });
}

void AppendAuthorStatement(std::string_view area, std::string& statement, std::string& author) {
    // Most records have one author field: its statement is built where it goes.
    if (author.empty()) {
        BuildStatement(area, author);
        return;
    }
    BuildStatement(area, statement);
    author += '~';
    author += statement;
}

}  // namespace

namespace {

constexpr std::array BookTextTagList = {20, 82, 100, 110, 245, 440, 490};

// Every directory entry of every record is looked at, so the test is a table lookup, without a
// branch per tag.
constexpr auto BookTextTags = [] {
    std::array<std::uint64_t, 16> words{};
    for (const int tag : BookTextTagList)
        words[tag / 64] |= std::uint64_t{1} << (tag % 64);
    return words;
}();

// The same tags by a hash of their three digits taken as one word, the first digit lowest: in a
// directory of digits alone, as nearly every record has, an entry is told by one multiply and
// one comparison.
struct TagSlot {
    std::uint32_t digits = 0;  // no directory's word is 0
    std::int32_t tag = 0;
};
constexpr int TagSlotBits = 6;

constexpr std::uint32_t DigitsWord(int tag) {
    return static_cast<std::uint32_t>('0' + tag / 100) |
           static_cast<std::uint32_t>('0' + tag / 10 % 10) << 8 |
           static_cast<std::uint32_t>('0' + tag % 10) << 16;
}

constexpr std::uint32_t TagSlotOf(std::uint32_t digits, std::uint32_t multiplier) {
    return (digits * multiplier) >> (32 - TagSlotBits);
}

// The first odd multiplier that gives every wanted tag a slot of its own.
constexpr std::uint32_t TagMultiplier = [] {
    for (std::uint32_t multiplier = 0x9E3779B1u;; multiplier += 2) {
        std::uint64_t taken = 0;
        bool shared = false;
        for (const int tag : BookTextTagList) {
            const std::uint32_t slot = TagSlotOf(DigitsWord(tag), multiplier);
            shared = shared || (taken >> slot & 1) != 0;
            taken |= std::uint64_t{1} << slot;
        }
        if (!shared) return multiplier;
    }
}();

constexpr auto BookTextTagSlots = [] {
    std::array<TagSlot, std::size_t{1} << TagSlotBits> slots{};
    for (const int tag : BookTextTagList)
        slots[TagSlotOf(DigitsWord(tag), TagMultiplier)] = {DigitsWord(tag), tag};
    return slots;
}();

bool IsBookTextTag(std::int32_t tagValue) {
    const auto value = static_cast<std::uint32_t>(tagValue);
    return value < 1024 && (BookTextTags[value / 64] >> (value % 64) & 1) != 0;
}

// Takes the title, author, call number and series of one record from its fields, given in
// directory order; fields of other tags need not be given.
class BookTextCollector {
  public:
    // Empties the texts that the fields given will fill: all four, or only `text`'s.
    BookTextCollector(CatalogueRecord& record, std::string& statement,
                      OtherCallNumbers& otherCallNumbers,
                      std::optional<BookText> text = std::nullopt)
        : record_(record), statement_(statement), otherCallNumbers_(otherCallNumbers) {
        otherCallNumbers.Clear();
        if (!text || *text == BookText::Title) record.title.clear();
        if (!text || *text == BookText::Author) record.author.clear();
        if (!text || *text == BookText::CallNumber) record.callNumber.clear();
        if (!text || *text == BookText::Series) record.series.clear();
    }

    void Take(std::int32_t tagValue, std::string_view content) {
        if (tagValue == 20) return;  // the ISBNs are read on their own
        std::string& statement = statement_;
        const std::string_view area = SubfieldAreaOf(content);
        if (tagValue == 82) {
            ForEachSubfield(area, [&](char code, std::string_view value) {
                if (code == 'a') {
                    record_.callNumber.assign(value);
                } else if (code == 'b') {
                    record_.callNumber += ' ';
                    record_.callNumber += value;
                }
            });
        } else if (tagValue == 100 || tagValue == 110) {
            AppendAuthorStatement(area, statement, record_.author);
        } else if (tagValue == 245) {
            if (record_.title.empty()) TitleInto(area, record_.title);
        } else if (tagValue != 440 && tagValue != 490) {
            otherCallNumbers_.Take(tagValue, area);
        } else {
            BuildStatement(area, statement);
            // Series entries that tagging wrote in an earlier run name the programme, not a series.
            if (statement.starts_with("TUL")) return;
            if (!statement.empty() && statement.back() == '.') statement.pop_back();
            if (record_.series.empty()) {
                record_.series = statement;
                if (!statement.empty()) seriesStatements_ = 1;
            } else if (seriesStatements_ < MaxSeriesStatements &&
                       !SeriesHolds(record_.series, statement)) {
                record_.series += '~';
                record_.series += statement;
                ++seriesStatements_;
            }
        }
    }

    // Once every field is taken: the call number as the order chooses it.
    void ChooseCallNumber(CallNumberOrder order) {
        otherCallNumbers_.ChooseInto(record_.callNumber, order);
    }

  private:
    CatalogueRecord& record_;
    std::string& statement_;  // scratch
    OtherCallNumbers& otherCallNumbers_;
    int seriesStatements_ = 0;
};

}  // namespace

void ExtractBookData(CatalogueRecord& record, CallNumberOrder order) {
    // Kept from call to call, so that statements longer than a short string allocate once.
    thread_local std::string statement;
    thread_local OtherCallNumbers otherCallNumbers;
    BookTextCollector collector(record, statement, otherCallNumbers);
    for (std::size_t k = 0; k < record.FieldCount(); ++k) {
        const std::int32_t tagValue = TagValueOf(record.FieldTag(k));
        if (IsBookTextTag(tagValue) || IsOtherCallNumberTag(tagValue))
            collector.Take(tagValue, record.FieldContent(k));
    }
    collector.ChooseCallNumber(order);
}

void BookFieldIndex::Index(std::string_view bytes) {
    bytes_ = bytes;
    pieceCount_ = 0;
    areaCount_ = 0;
    callPiecesPlaced_ = false;
    const DataArea area = DataAreaOf(bytes);
    if (!area.valid) return;
    areaStart_ = area.start;
    areaEnd_ = area.end;
    if (pieces_.size() < area.count) pieces_.resize(area.count);
    areaCount_ = area.count;
    // Terminators are looked for only as far as the last field wanted. The call-number fields
    // of the library's own lie far into most records and are wanted only by a record that
    // matched: they are found then.
    std::size_t count = 0;
    const char* const directory = bytes.data() + 24;
    if (area.directoryDigits) {
        // Kept in locals, which the stores into the pieces cannot change.
        Piece* const pieces = pieces_.data();
        std::size_t taken = 0;
        for (std::size_t k = 0; k < area.count; ++k) {
            // An entry is twelve bytes: the eight read hold its tag.
            const auto digits = static_cast<std::uint32_t>(LoadWord(directory + k * 12) & 0xFFFFFF);
            const TagSlot& slot = BookTextTagSlots[TagSlotOf(digits, TagMultiplier)];
            const bool wanted = slot.digits == digits;
            pieces[taken] = {slot.tag, k, 0};
            taken += wanted;
            count = wanted ? k + 1 : count;
        }
        pieceCount_ = taken;
    } else {
        for (std::size_t k = 0; k < area.count; ++k) {
            const std::int32_t tagValue = TagValueOf(std::string_view(directory + k * 12, 3));
            const bool wanted = IsBookTextTag(tagValue);
            pieces_[pieceCount_] = {tagValue, k, 0};
            pieceCount_ += wanted;
            count = wanted ? k + 1 : count;
        }
    }
    if (count == 0) return;
    Place({pieces_.data(), pieceCount_});
}

void BookFieldIndex::Place(std::span<Piece> pieces) {
    const std::size_t count = pieces.back().at + 1;
    if (ends_.size() < count) ends_.resize(count);
    const std::size_t found =
        FindFieldTerminators(bytes_.data(), areaStart_, areaEnd_, ends_.data(), count);
    // The pieces as SplitMarcRecord cuts them: the last one found runs to the end of the data
    // area, and any after it are empty.
    for (Piece& piece : pieces) {
        const std::size_t k = piece.at;  // the field's number until now
        if (k > found) {
            piece.at = areaEnd_;
            piece.length = 0;
            continue;
        }
        piece.at = k == 0 ? areaStart_ : ends_[k - 1] + 1;
        piece.length = (k < found ? ends_[k] : areaEnd_) - piece.at;
    }
}

void BookFieldIndex::AuthorInto(std::string& author) {
    author.clear();
    for (std::size_t i = 0; i < pieceCount_; ++i) {
        const Piece& piece = pieces_[i];
        if (piece.tag != 100 && piece.tag != 110) continue;
        AppendAuthorStatement(SubfieldAreaOf(bytes_.substr(piece.at, piece.length)), statement_,
                              author);
    }
}

std::string_view BookFieldIndex::AuthorLead() const {
    for (std::size_t i = 0; i < pieceCount_; ++i) {
        const Piece& piece = pieces_[i];
        if (piece.tag != 100 && piece.tag != 110) continue;
        const std::string_view area = SubfieldAreaOf(bytes_.substr(piece.at, piece.length));
        if (area.empty() || area[0] != 'a') return {};
        const std::size_t end = area.find(SubfieldDelimiter);
        if (end == std::string_view::npos) return area.substr(1);
        constexpr char AnotherA[] = {SubfieldDelimiter, 'a'};
        if (area.find(std::string_view(AnotherA, 2), end) != std::string_view::npos) return {};
        return area.substr(1, end - 1);
    }
    return {};
}

namespace {

// Gives the collector the fields besides 082 that may hold the call number, and chooses it. Under
// dewey-first a record whose 082 gave one, as most do, needs none of them: they are not looked for.
template <typename Collector, typename Pieces>
void TakeCallNumbers(Collector& collector, const CatalogueRecord& record, std::string_view bytes,
                     CallNumberOrder order, Pieces pieces) {
    if (order == CallNumberOrder::DeweyOnly) return;
    if (order == CallNumberOrder::DeweyFirst && !TrimSpaces(record.callNumber).empty()) return;
    for (const BookFieldIndex::Piece& piece : pieces())
        collector.Take(piece.tag, bytes.substr(piece.at, piece.length));
    collector.ChooseCallNumber(order);
}

}  // namespace

std::span<const BookFieldIndex::Piece> BookFieldIndex::CallPieces() {
    if (callPiecesPlaced_) return callPieces_;
    callPiecesPlaced_ = true;
    callPieces_.clear();
    for (std::size_t k = 0; k < areaCount_; ++k) {
        const std::int32_t tagValue = TagValueOf(std::string_view(bytes_.data() + 24 + k * 12, 3));
        if (IsOtherCallNumberTag(tagValue)) callPieces_.push_back({tagValue, k, 0});
    }
    if (!callPieces_.empty()) Place(callPieces_);
    return callPieces_;
}

void BookFieldIndex::TextsInto(CatalogueRecord& record) {
    BookTextCollector collector(record, statement_, otherCallNumbers_);
    for (std::size_t i = 0; i < pieceCount_; ++i)
        collector.Take(pieces_[i].tag, bytes_.substr(pieces_[i].at, pieces_[i].length));
    TakeCallNumbers(collector, record, bytes_, order_, [this] { return CallPieces(); });
}

void BookFieldIndex::TextInto(CatalogueRecord& record, BookText text) {
    // The title, which most records of a booklist author are tried by, is taken from the first
    // 245 that gives one straight away.
    if (text == BookText::Title) {
        record.title.clear();
        for (std::size_t i = 0; i < pieceCount_ && record.title.empty(); ++i) {
            if (pieces_[i].tag == 245)
                TitleInto(SubfieldAreaOf(bytes_.substr(pieces_[i].at, pieces_[i].length)),
                          record.title);
        }
        return;
    }
    BookTextCollector collector(record, statement_, otherCallNumbers_, text);
    for (std::size_t i = 0; i < pieceCount_; ++i) {
        const std::int32_t tag = pieces_[i].tag;
        const BookText of = tag == 245                 ? BookText::Title
                            : tag == 100 || tag == 110 ? BookText::Author
                            : tag == 82                ? BookText::CallNumber
                            : tag == 20                ? BookText::Isbn
                                                       : BookText::Series;
        if (of == text) collector.Take(tag, bytes_.substr(pieces_[i].at, pieces_[i].length));
    }
    if (text == BookText::CallNumber)
        TakeCallNumbers(collector, record, bytes_, order_, [this] { return CallPieces(); });
}

void BookFieldIndex::IsbnsInto(std::vector<std::uint64_t>& isbns) {
    isbns.clear();
    const auto add = [&](std::string_view value) {
        if (const std::uint64_t isbn = Isbn13Number(value)) isbns.push_back(isbn);
    };
    for (std::size_t i = 0; i < pieceCount_; ++i) {
        if (pieces_[i].tag != 20) continue;
        const std::string_view content = bytes_.substr(pieces_[i].at, pieces_[i].length);
        // Most 020s are one $a, read where it stands: an ISBN ends its value's leading run, so
        // the value need not be cut from the field first.
        if (content.size() > 4 && content[2] == SubfieldDelimiter && content[3] == 'a' &&
            content.find(SubfieldDelimiter, 4) == std::string_view::npos) {
            add(content.substr(4));
            continue;
        }
        ForEachSubfield(SubfieldAreaOf(content), [&](char code, std::string_view value) {
            if (code == 'a') add(value);
        });
    }
}

void ExtractBookData(std::string_view bytes, CatalogueRecord& record, CallNumberOrder order) {
    BookFieldIndex fields;
    fields.SetCallNumberOrder(order);
    fields.Index(bytes);
    fields.TextsInto(record);
}

void ExtractAuthor(std::string_view bytes, std::string& author) {
    BookFieldIndex fields;
    fields.Index(bytes);
    fields.AuthorInto(author);
}
