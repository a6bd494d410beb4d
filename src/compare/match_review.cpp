#include "compare/match_review.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <functional>
#include <utility>

#include "base/byte_scan.h"
#include "base/named_values.h"
#include "base/regular_file.h"
#include "base/text.h"
#include "base/text_encoding.h"

namespace {

constexpr std::array<const char*, 5> KindTexts = {"author and title", "same title", "title inside",
                                                  "series", "ISBN"};

constexpr const char* Header =
    "Row\tID\tBooklist title\tBooklist author\tMatched by\tControl number\tCatalogue title\t"
    "Catalogue author\tCall number\tCoding\tOffset\tLength\tChecksum\tRepeated\tState";
constexpr std::size_t Columns = 15;
// A review written before rows were kept when taken back: no State column.
constexpr std::string_view HeaderWithoutState(Header, std::string_view(Header).rfind('\t'));
constexpr std::string_view TakenBackText = "taken back";
constexpr std::string_view RejectedEarlierText = "rejected earlier";

std::string_view StateText(const ReviewRow& row) {
    return row.takenBack ? TakenBackText : row.rejectedEarlier ? RejectedEarlierText : "";
}

// Bytes that cannot stand in a column of a line.
constexpr std::array<char, 256> CleanBytes = [] {
    std::array<char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<char>(c);
    for (const char special : {'\t', '\r', '\n', '\0'})
        table[static_cast<unsigned char>(special)] = ' ';
    return table;
}();

// The high bit set in a byte of `word` below 14, where the four bytes to replace lie, and perhaps
// in bytes after it; never for a word whose bytes are all 14 or more and below 0x80. The high
// bits are left to be picked out once the words of a text are ORed.
std::uint64_t LowBytes(std::uint64_t word) {
    return (word - 0x0E0E0E0E0E0E0E0Eull) & ~word;
}

// Copies a column's text to `to`, returning its end, with TAB, CR, LF and NUL as spaces so that a
// text of whatever bytes the catalogue held stays in its column; its bytes are ORed into `seen`,
// whose high bits then tell whether any text was other than plain ASCII, without a pass of its
// own. Eight bytes at a time, the last word overlapping the one before it, and a text of four to
// seven bytes as two overlapping halves: this runs for every column of every match.
char* CopyColumn(char* to, std::string_view text, std::uint64_t& seen) {
    const char* const from = text.data();
    const std::size_t size = text.size();
    // Kept apart from `seen` until the end: the bytes stored could otherwise be taken to change it.
    std::uint64_t bytes = 0;
    std::uint64_t low = 0;
    if (size >= 8) {
        const auto copyWord = [&](std::size_t i) {
            std::uint64_t word = 0;
            std::memcpy(&word, from + i, 8);
            bytes |= word;
            low |= LowBytes(word);
            std::memcpy(to + i, &word, 8);
        };
        for (std::size_t i = 0; i + 8 < size; i += 8)
            copyWord(i);
        copyWord(size - 8);
    } else if (size >= 4) {
        std::uint32_t head = 0;
        std::uint32_t tail = 0;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + size - 4, 4);
        bytes = head | std::uint64_t{tail} << 32;
        low = LowBytes(bytes);
        std::memcpy(to, &head, 4);
        std::memcpy(to + size - 4, &tail, 4);
    } else {
        for (std::size_t i = 0; i < size; ++i) {
            const auto byte = static_cast<unsigned char>(from[i]);
            bytes |= byte;
            low |= byte < 14 ? 0x80 : 0;
            to[i] = from[i];
        }
    }
    if ((low & 0x8080808080808080ull) != 0) {
        for (std::size_t i = 0; i < size; ++i)
            to[i] = CleanBytes[static_cast<unsigned char>(to[i])];
    }
    seen |= bytes;
    return to + size;
}

void AppendNumber(std::string& line, std::int64_t value) {
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    line.append(digits, end);
    line += '\t';
}

std::optional<std::int64_t> Number(std::string_view text) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

const char* MatchKindText(MatchKind kind) {
    return NameOf(KindTexts, kind);
}

std::optional<MatchKind> MatchKindFromText(std::string_view text) {
    return ValueNamed<MatchKind>(KindTexts, text);
}

bool NeedsCheck(const ReviewRow& row) {
    if (!Stands(row)) return false;
    return row.kind == MatchKind::TitleInside || row.kind == MatchKind::Series || row.repeated;
}

namespace {

std::uint64_t Mixed(std::uint64_t lane, std::uint64_t word) {
    return std::rotl((lane ^ word) * 0x9E3779B97F4A7C15ull, 31);
}

std::uint64_t ChecksumOf(std::string_view bytes) {
    // Four independent lanes over 32 bytes at a time: enough to tell that the bytes at an offset
    // are still the record written there, at a fraction of a byte-wise pass over every matched
    // record. Each step is one-to-one in its lane, so a change within one word always shows.
    std::uint64_t lanes[4] = {bytes.size(), 0x243F6A8885A308D3ull, 0x13198A2E03707344ull,
                              0xA4093822299F31D0ull};
    const char* at = bytes.data();
    const char* const end = at + bytes.size();
    for (; end - at >= 32; at += 32) {
        for (int i = 0; i < 4; ++i)
            lanes[i] = Mixed(lanes[i], LoadWord(at + 8 * i));
    }
    for (int i = 0; end - at >= 8; at += 8, ++i)
        lanes[i] = Mixed(lanes[i], LoadWord(at));
    // The last bytes as the low bytes of a word, taken from the word that ends with them when
    // there is one.
    std::uint64_t last = 0;
    const auto rest = end - at;
    if (rest > 0 && bytes.size() >= 8) {
        last = LoadWord(end - 8) >> (64 - 8 * rest);
    } else {
        for (int shift = 0; at != end; ++at, shift += 8)
            last |= std::uint64_t{static_cast<unsigned char>(*at)} << shift;
    }
    std::uint64_t hash = Mixed(lanes[3], last);
    for (int i = 0; i < 3; ++i)
        hash = Mixed(hash, lanes[i]);
    return hash ^ (hash >> 32);
}

// The eight hex digits of `value`, the first in the lowest byte: its nibbles spread one to a
// byte, then each made a digit at once, instead of a step per digit for every match.
std::uint64_t HexDigits(std::uint32_t value) {
    std::uint64_t x = value >> 16 | std::uint64_t{value & 0xFFFF} << 32;
    x = (x >> 8 & 0x000000FF000000FFull) | (x & 0x000000FF000000FFull) << 16;
    x = (x >> 4 & 0x000F000F000F000Full) | (x & 0x000F000F000F000Full) << 8;
    const std::uint64_t letters = ((x + 0x0606060606060606ull) >> 4) & 0x0101010101010101ull;
    return x + 0x3030303030303030ull + letters * ('a' - '0' - 10);
}

// The checksum's 16 hex digits at `at`; returns their end.
char* WriteChecksum(char* at, std::string_view bytes) {
    const std::uint64_t sum = ChecksumOf(bytes);
    for (const std::uint32_t half :
         {static_cast<std::uint32_t>(sum >> 32), static_cast<std::uint32_t>(sum)}) {
        std::uint64_t digits = HexDigits(half);
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(at, &digits, 8);
        } else {
            for (int i = 0; i < 8; ++i, digits >>= 8)
                at[i] = static_cast<char>(digits & 0xFF);
        }
        at += 8;
    }
    return at;
}

}  // namespace

std::string RecordChecksum(std::string_view bytes) {
    std::string text(16, '0');
    WriteChecksum(text.data(), bytes);
    return text;
}

namespace {

// Which of `count` rows share their ID with another, in one pass: each ID remembers the first row
// that had it, and a later row marks both. A catalogue may hold thousands of copies of one book,
// so the rows of one entry are never compared with each other. The first rows are kept in an open
// table twice as large as the rows, each with its ID's first eight bytes and length, so that an ID
// of up to eight bytes, as booklist IDs are, is told apart without reaching for the row's text:
// no allocation per row, and one place in memory looked at, as this runs for every match while
// the run's end waits. Rows taken back (`counted` false) count for no entry.
template <typename IdOf, typename Counted>
std::vector<bool> RepeatedRows(std::size_t count, IdOf idOf, Counted counted) {
    struct Slot {
        std::uint64_t head = 0;  // the ID's first eight bytes, zeros past its end
        std::uint32_t size = 0;
        // The first row's number from 1, 0 for none: a review's rows, each a record of the run with
        // its line held in memory, are far fewer than four billion.
        std::uint32_t row = 0;
    };
    const auto headOf = [](std::string_view id) {
        std::uint64_t head = 0;
        for (std::size_t i = 0; i < id.size() && i < 8; ++i)
            head |= std::uint64_t{static_cast<unsigned char>(id[i])} << (8 * i);
        return head;
    };
    int bits = 4;
    while ((std::size_t{1} << bits) < 2 * count)
        ++bits;
    std::vector<Slot> slots(std::size_t{1} << bits);
    const std::size_t mask = slots.size() - 1;
    std::vector<bool> repeated(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        if (!counted(i)) continue;
        const std::string_view id = idOf(i);
        const std::uint64_t head = headOf(id);
        const auto size = static_cast<std::uint32_t>(id.size());
        std::size_t at = ((head ^ size) * 0x9E3779B97F4A7C15ull) >> (64 - bits);
        for (;; at = (at + 1) & mask) {
            Slot& slot = slots[at];
            if (slot.row == 0) {
                slot = {head, size, static_cast<std::uint32_t>(i + 1)};
                break;
            }
            if (slot.head != head || slot.size != size) continue;
            if (size > 8 && idOf(slot.row - 1) != id) continue;
            repeated[slot.row - 1] = true;
            repeated[i] = true;
            break;
        }
    }
    return repeated;
}

}  // namespace

void MarkRepeatedEntries(std::vector<ReviewRow>& rows) {
    const std::vector<bool> repeated = RepeatedRows(
        rows.size(), [&](std::size_t i) { return std::string_view(rows[i].id); },
        [&](std::size_t i) { return Stands(rows[i]); });
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i].repeated = repeated[i];
}

bool RunReview::Open(const DataFolder& folder) {
    rows_.clear();
    path_ = folder.MatchReview();
    text_.Clear();
    const std::string_view header = std::string_view(Header);
    std::copy(header.begin(), header.end(), text_.Extend(header.size()));
    std::copy_n("\r\n", 2, text_.Extend(2));
    return true;
}

void RunReview::Add(std::string_view id, std::string_view bookTitle, std::string_view bookAuthor,
                    MatchKind kind, std::string_view controlNumber, std::string_view catalogueTitle,
                    std::string_view catalogueAuthor, std::string_view callNumber,
                    CatalogueEncoding coding, const WrittenRecord& written, bool rejectedEarlier) {
    // Where the record went, made in place: this runs for every match.
    char place[64];
    char* at = place;
    if (!written.bytes.empty()) {
        at = std::to_chars(at, at + 24, written.offset).ptr;
        *at++ = '\t';
        at = std::to_chars(at, at + 24, written.bytes.size()).ptr;
        *at++ = '\t';
        at = WriteChecksum(at, written.bytes);
        *at++ = '\t';
    } else {
        at = std::copy_n("\t\t\t", 3, at);
    }
    const std::string_view placed(place, static_cast<std::size_t>(at - place));
    const std::string_view state = rejectedEarlier ? RejectedEarlierText : "";
    // Most texts are plain ASCII, which reads the same in every encoding: the line is written as
    // it comes, and made again only when a text must be converted, converting only those.
    if (WriteLine(id, bookTitle, bookAuthor, kind, controlNumber, catalogueTitle, catalogueAuthor,
                  callNumber, coding, placed, state, true)) {
        return;
    }
    std::string converted[6];
    const auto bookText = [&](std::string_view text, std::string& room) {
        if (IsPlainAscii(text)) return text;
        room = Utf8FromWindows1252(text);
        return std::string_view(room);
    };
    const auto catalogueText = [&](std::string_view text, std::string& room) {
        if (IsPlainAscii(text)) return text;
        room = CatalogueTextAsUtf8(text, coding);
        return std::string_view(room);
    };
    WriteLine(id, bookText(bookTitle, converted[0]), bookText(bookAuthor, converted[1]), kind,
              catalogueText(controlNumber, converted[2]),
              catalogueText(catalogueTitle, converted[3]),
              catalogueText(catalogueAuthor, converted[4]), catalogueText(callNumber, converted[5]),
              coding, placed, state, false);
}

void RunReview::Add(const ReviewRow& row) {
    // A row read back keeps its place and checksum; only its bytes are not at hand.
    std::string place = "\t\t\t";
    if (row.written) {
        place.clear();
        AppendNumber(place, row.offset);
        AppendNumber(place, row.length);
        place += row.checksum;
        place += '\t';
    }
    WriteLine(row.id, row.bookTitle, row.bookAuthor, row.kind, row.controlNumber,
              row.catalogueTitle, row.catalogueAuthor, row.callNumber, row.coding, place,
              StateText(row), false);
}

bool RunReview::WriteLine(std::string_view id, std::string_view bookTitle,
                          std::string_view bookAuthor, MatchKind kind,
                          std::string_view controlNumber, std::string_view catalogueTitle,
                          std::string_view catalogueAuthor, std::string_view callNumber,
                          CatalogueEncoding coding, std::string_view place, std::string_view state,
                          bool plainOnly) {
    // The names as views, measured once rather than for every row.
    static const std::array<std::string_view, 5> kindNames = {
        KindTexts[0], KindTexts[1], KindTexts[2], KindTexts[3], KindTexts[4]};
    static const std::array<std::string_view, 3> codingNames = {
        CatalogueEncodingName(CatalogueEncoding::Utf8),
        CatalogueEncodingName(CatalogueEncoding::Marc8),
        CatalogueEncodingName(CatalogueEncoding::Windows1252)};
    const std::array<std::string_view, 9> texts = {id,
                                                   bookTitle,
                                                   bookAuthor,
                                                   kindNames[static_cast<std::size_t>(kind)],
                                                   controlNumber,
                                                   catalogueTitle,
                                                   catalogueAuthor,
                                                   callNumber,
                                                   codingNames[static_cast<std::size_t>(coding)]};
    std::size_t most = 20 + 1 + texts.size() + place.size() + 4 + state.size();
    for (const std::string_view text : texts)
        most += text.size();
    // The line is made straight in the file's buffer: this runs for every match.
    char* const start = text_.Extend(most);
    char* at = std::to_chars(start, start + 20, rows_.size() + 1).ptr;
    *at++ = '\t';
    const std::size_t lineAt = text_.size() - most;
    const std::size_t idAt = lineAt + static_cast<std::size_t>(at - start);
    std::uint64_t seen = 0;
    for (const std::string_view text : texts) {
        at = CopyColumn(at, text, seen);
        *at++ = '\t';
    }
    if (plainOnly && (seen & 0x8080808080808080ull) != 0) {
        text_.Shorten(most);
        return false;
    }
    at = std::copy(place.begin(), place.end(), at);
    const std::size_t markAt = lineAt + static_cast<std::size_t>(at - start);
    at = std::copy_n("0\t", 2, at);
    at = std::copy(state.begin(), state.end(), at);
    at = std::copy_n("\r\n", 2, at);
    text_.Shorten(most - static_cast<std::size_t>(at - start));
    rows_.push_back({idAt, id.size(), markAt, state.empty()});
    return true;
}

void RunReview::WriteTo(ReplacingFile& file, std::string_view runLine) {
    const std::string_view text = text_.View();
    const std::vector<bool> repeated = RepeatedRows(
        rows_.size(), [&](std::size_t i) { return text.substr(rows_[i].idAt, rows_[i].idSize); },
        [&](std::size_t i) { return rows_[i].counted; });
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (repeated[i]) text_.data()[rows_[i].markAt] = '1';
    }
    if (!runLine.empty()) {
        file.Write(runLine);
        file.Write("\r\n");
    }
    file.Write(text);
}

FileWriteResult RunReview::Finish() {
    ReplacingFile file;
    if (file.Open(path_)) {
        WriteTo(file, {});
        file.Commit();
    }
    return file.Result();
}

FileWriteResult SaveMatchReview(const DataFolder& folder, const std::vector<ReviewRow>& rows) {
    RunReview review;
    if (review.Open(folder)) {
        for (const ReviewRow& row : rows)
            review.Add(row);
    }
    return review.Finish();
}

namespace {

bool IsChecksum(std::string_view text) {
    return text.size() == 16 &&
           text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// One row of the review, `number` its place from 1; nothing when it is not a row as written.
std::optional<ReviewRow> ParseRow(std::string_view line, std::size_t number, bool withState) {
    std::vector<std::string_view> c = SplitTabs(line);
    if (c.size() == Columns - 1 && !withState) c.emplace_back();
    if (c.size() != Columns || Number(c[0]) != static_cast<std::int64_t>(number)) return {};
    if (!c[14].empty() && c[14] != TakenBackText && c[14] != RejectedEarlierText) return {};
    const std::optional<MatchKind> kind = MatchKindFromText(c[4]);
    if (!kind || (c[13] != "0" && c[13] != "1")) return {};
    // A review written before texts were decoded holds the bytes, and position 9 of the record's
    // leader in place of the encoding: its texts are read as they were shown then.
    const std::optional<CatalogueEncoding> coding =
        c[9].size() == 1 ? std::optional(CatalogueEncoding::Utf8) : CatalogueEncodingFromName(c[9]);
    if (!coding) return {};
    ReviewRow row;
    row.id = c[1];
    row.bookTitle = c[2];
    row.bookAuthor = c[3];
    row.kind = *kind;
    row.controlNumber = c[5];
    row.catalogueTitle = c[6];
    row.catalogueAuthor = c[7];
    row.callNumber = c[8];
    row.coding = *coding;
    if (c[9].size() == 1) {
        const auto asShown = [&](std::string& text, bool catalogue) {
            if (!(catalogue && c[9] == "a" && IsUtf8(text))) text = Utf8FromWindows1252(text);
        };
        asShown(row.bookTitle, false);
        asShown(row.bookAuthor, false);
        for (std::string* text :
             {&row.controlNumber, &row.catalogueTitle, &row.catalogueAuthor, &row.callNumber})
            asShown(*text, true);
        if (c[9] != "a") row.coding = CatalogueEncoding::Windows1252;
    }
    // A record not written leaves its three places empty; a written one has all three.
    row.written = !c[10].empty() || !c[11].empty() || !c[12].empty();
    if (row.written) {
        const auto offset = Number(c[10]);
        const auto length = Number(c[11]);
        if (!offset || !length || *length == 0 || !IsChecksum(c[12])) return {};
        row.offset = *offset;
        row.length = *length;
        row.checksum = c[12];
    }
    row.repeated = c[13] == "1";
    // A row taken back no longer places a record: its bytes were cut.
    row.takenBack = c[14] == TakenBackText;
    row.rejectedEarlier = c[14] == RejectedEarlierText;
    if (!Stands(row) && (row.written || row.repeated)) return {};
    return row;
}

// The rows of a review's text; nothing when it is damaged. `run` is set from its run line, when
// it has one.
std::optional<std::vector<ReviewRow>> ParseMatchReview(std::string_view text,
                                                       std::optional<ReviewRun>& run) {
    if (text.find('\0') != std::string_view::npos || !text.ends_with("\r\n")) return {};
    if (text.starts_with("#run ")) {
        const std::size_t end = text.find("\r\n");
        ReviewRun stamped;
        if (!ParseReviewRunLine(text.substr(0, end), stamped)) return {};
        run = std::move(stamped);
        text.remove_prefix(end + 2);
    }
    std::vector<ReviewRow> rows;
    std::int64_t writtenEnd = 0;  // where the last record placed ends
    bool header = true;
    bool withState = true;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        const std::string_view line = text.substr(at, end - at);
        at = end + 2;
        // A line break inside a line means lines were run together or cut.
        if (line.find_first_of("\r\n") != std::string_view::npos) return {};
        if (header) {
            withState = line == Header;
            if (!withState && line != HeaderWithoutState) return {};
            header = false;
            continue;
        }
        std::optional<ReviewRow> row = ParseRow(line, rows.size() + 1, withState);
        if (!row) return {};
        if (row->written) {
            if (row->offset < writtenEnd) return {};
            writtenEnd = row->offset + row->length;
        }
        rows.push_back(std::move(*row));
    }
    return rows;
}

}  // namespace

MatchReviewFile ReadMatchReview(const DataFolder& folder) {
    MatchReviewFile review;
    struct stat status {};
    if (::stat(folder.MatchReview().c_str(), &status) != 0 && errno == ENOENT) return review;
    std::string reason;
    const std::optional<std::string> text = ReadRegularFile(folder.MatchReview(), reason);
    std::optional<std::vector<ReviewRow>> rows;
    if (text) rows = ParseMatchReview(*text, review.run);
    if (!rows) {
        review.state = MatchReviewFile::State::Damaged;
        return review;
    }
    review.state = MatchReviewFile::State::Read;
    review.rows = std::move(*rows);
    return review;
}

std::optional<std::vector<ReviewRow>> LoadMatchReview(const DataFolder& folder) {
    MatchReviewFile review = ReadMatchReview(folder);
    if (review.state != MatchReviewFile::State::Read) return std::nullopt;
    return std::move(review.rows);
}
