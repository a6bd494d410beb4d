#include "compare/match_review.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <unordered_map>

#include "base/line_reader.h"
#include "base/regular_file.h"

namespace {

constexpr std::array<const char*, 4> KindTexts = {"author and title", "same title", "title inside",
                                                  "series"};

constexpr const char* Header =
    "Row\tID\tBooklist title\tBooklist author\tMatched by\tControl number\tCatalogue title\t"
    "Catalogue author\tCall number\tCoding\tOffset\tLength\tChecksum\tRepeated";
constexpr std::size_t Columns = 14;

// Bytes that cannot stand in a column of a line.
constexpr std::array<char, 256> CleanBytes = [] {
    std::array<char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<char>(c);
    for (const char special : {'\t', '\r', '\n', '\0'})
        table[static_cast<unsigned char>(special)] = ' ';
    return table;
}();

// Texts go into one column of one line, whatever bytes the catalogue held.
void AppendColumn(std::string& line, std::string_view text) {
    const std::size_t start = line.size();
    line.append(text);
    char* at = line.data() + start;
    char* const end = line.data() + line.size();
    // Eight bytes at a time while none is below 14, where the four bytes to replace lie.
    constexpr std::uint64_t Ones = 0x0101010101010101ull;
    for (std::uint64_t word = 0; end - at >= 8; at += 8) {
        std::memcpy(&word, at, 8);
        if (((word - Ones * 14) & ~word & (Ones * 0x80)) != 0) break;
    }
    for (; at != end; ++at)
        *at = CleanBytes[static_cast<unsigned char>(*at)];
    line += '\t';
}

void AppendNumber(std::string& line, std::int64_t value) {
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    line.append(digits, end);
    line += '\t';
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> columns;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        columns.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) return columns;
        start = tab + 1;
    }
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
    return KindTexts[static_cast<std::size_t>(kind)];
}

std::optional<MatchKind> MatchKindFromText(std::string_view text) {
    for (std::size_t i = 0; i < KindTexts.size(); ++i) {
        if (text == KindTexts[i]) return static_cast<MatchKind>(i);
    }
    return std::nullopt;
}

bool NeedsCheck(const ReviewRow& row) {
    return row.kind == MatchKind::TitleInside || row.kind == MatchKind::Series || row.repeated;
}

namespace {

std::uint64_t ChecksumOf(std::string_view bytes) {
    // FNV-1a over 8 bytes at a time: enough to tell that the bytes at an offset are still the
    // record written there, at a fraction of a byte-wise pass over every matched record.
    std::uint64_t hash = 14695981039346656037ull ^ bytes.size();
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, 8);
        hash = (hash ^ word) * 1099511628211ull;
        hash ^= hash >> 29;
    }
    for (; at < bytes.size(); ++at)
        hash = (hash ^ static_cast<unsigned char>(bytes[at])) * 1099511628211ull;
    return hash;
}

void AppendHex(std::string& text, std::uint64_t value) {
    static constexpr char Digits[] = "0123456789abcdef";
    char hex[16];
    for (int i = 15; i >= 0; --i, value >>= 4)
        hex[i] = Digits[value & 15];
    text.append(hex, 16);
}

}  // namespace

std::string RecordChecksum(std::string_view bytes) {
    std::string text;
    AppendHex(text, ChecksumOf(bytes));
    return text;
}

void MarkRepeatedEntries(std::vector<ReviewRow>& rows) {
    std::unordered_map<std::string_view, int> counts;
    counts.reserve(rows.size());
    for (const ReviewRow& row : rows)
        ++counts[row.id];
    for (ReviewRow& row : rows)
        row.repeated = counts[row.id] > 1;
}

bool RunReview::Open(const DataFolder& folder) {
    rows_.clear();
    path_ = folder.MatchReview();
    text_ = std::string(Header) + "\r\n";
    return true;
}

void RunReview::Add(std::string_view id, std::string_view bookTitle, std::string_view bookAuthor,
                    MatchKind kind, std::string_view controlNumber, std::string_view catalogueTitle,
                    std::string_view catalogueAuthor, std::string_view callNumber,
                    char characterCoding, const WrittenRecord& written) {
    // Where the record went, made in place: this runs for every match.
    char place[64];
    char* at = place;
    if (!written.bytes.empty()) {
        at = std::to_chars(at, at + 24, written.offset).ptr;
        *at++ = '\t';
        at = std::to_chars(at, at + 24, written.bytes.size()).ptr;
        *at++ = '\t';
        static constexpr char Digits[] = "0123456789abcdef";
        std::uint64_t sum = ChecksumOf(written.bytes);
        for (int i = 15; i >= 0; --i, sum >>= 4)
            at[i] = Digits[sum & 15];
        at += 16;
        *at++ = '\t';
    } else {
        at = std::copy_n("\t\t\t", 3, at);
    }
    WriteLine(id, bookTitle, bookAuthor, kind, controlNumber, catalogueTitle, catalogueAuthor,
              callNumber, characterCoding,
              std::string_view(place, static_cast<std::size_t>(at - place)));
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
              row.catalogueTitle, row.catalogueAuthor, row.callNumber, row.characterCoding, place);
}

void RunReview::WriteLine(std::string_view id, std::string_view bookTitle,
                          std::string_view bookAuthor, MatchKind kind,
                          std::string_view controlNumber, std::string_view catalogueTitle,
                          std::string_view catalogueAuthor, std::string_view callNumber,
                          char characterCoding, std::string_view place) {
    std::string& line = line_;
    line.clear();
    AppendNumber(line, static_cast<std::int64_t>(rows_.size() + 1));
    for (const std::string_view text :
         {id, bookTitle, bookAuthor, std::string_view(MatchKindText(kind)), controlNumber,
          catalogueTitle, catalogueAuthor, callNumber, std::string_view(&characterCoding, 1)}) {
        AppendColumn(line, text);
    }
    line += place;
    const auto markAt = static_cast<std::int64_t>(text_.size() + line.size());
    line += "0\r\n";
    text_ += line;
    rows_.push_back({std::string(id), markAt});
}

FileWriteResult RunReview::Finish() {
    std::unordered_map<std::string_view, int> counts;
    counts.reserve(rows_.size());
    for (const Row& row : rows_)
        ++counts[row.id];
    for (const Row& row : rows_) {
        if (counts[row.id] > 1) text_[static_cast<std::size_t>(row.markAt)] = '1';
    }
    return ReplaceFileContents(path_, text_);
}

FileWriteResult SaveMatchReview(const DataFolder& folder, const std::vector<ReviewRow>& rows) {
    RunReview review;
    if (review.Open(folder)) {
        for (const ReviewRow& row : rows)
            review.Add(row);
    }
    return review.Finish();
}

std::optional<std::vector<ReviewRow>> LoadMatchReview(const DataFolder& folder) {
    const RegularFile file = OpenRegularFile(folder.MatchReview());
    if (!file) return std::nullopt;
    LineReader reader(file.file.get());
    std::string line;
    if (!reader.Next(line) || line != Header) return std::nullopt;
    std::vector<ReviewRow> rows;
    while (reader.Next(line)) {
        const std::vector<std::string_view> c = SplitTabs(line);
        if (c.size() != Columns) return std::nullopt;
        const std::optional<MatchKind> kind = MatchKindFromText(c[4]);
        if (!kind) return std::nullopt;
        ReviewRow row;
        row.id = c[1];
        row.bookTitle = c[2];
        row.bookAuthor = c[3];
        row.kind = *kind;
        row.controlNumber = c[5];
        row.catalogueTitle = c[6];
        row.catalogueAuthor = c[7];
        row.callNumber = c[8];
        row.characterCoding = c[9].empty() ? ' ' : c[9][0];
        const auto offset = Number(c[10]);
        const auto length = Number(c[11]);
        row.written = offset && length && !c[12].empty();
        row.offset = offset.value_or(0);
        row.length = length.value_or(0);
        row.checksum = c[12];
        row.repeated = c[13] == "1";
        rows.push_back(std::move(row));
    }
    return rows;
}
