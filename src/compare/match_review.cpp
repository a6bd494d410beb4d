#include "compare/match_review.h"

#include <array>
#include <map>

#include "base/line_reader.h"
#include "base/regular_file.h"

namespace {

constexpr std::array<const char*, 4> KindTexts = {"author and title", "same title", "title inside",
                                                  "series"};

constexpr const char* Header =
    "Row\tID\tBooklist title\tBooklist author\tMatched by\tControl number\tCatalogue title\t"
    "Catalogue author\tCall number\tCoding\tOffset\tLength\tChecksum\tRepeated";
constexpr std::size_t Columns = 14;

// Texts go into one line of one column, whatever bytes the catalogue held.
void AppendColumn(std::string& line, std::string_view text) {
    line += '\t';
    for (const char c : text)
        line += (c == '\t' || c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
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

std::string RecordChecksum(std::string_view bytes) {
    // FNV-1a: enough to tell that the bytes at an offset are still the record written there.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        text[static_cast<std::size_t>(i)] = Digits[hash & 15];
    return text;
}

void MarkRepeatedEntries(std::vector<ReviewRow>& rows) {
    std::map<std::string_view, int> counts;
    for (const ReviewRow& row : rows)
        ++counts[row.id];
    for (ReviewRow& row : rows)
        row.repeated = counts[row.id] > 1;
}

FileWriteResult SaveMatchReview(const DataFolder& folder, const std::vector<ReviewRow>& rows) {
    ReplacingFile file;
    if (file.Open(folder.MatchReview())) {
        std::string line = std::string(Header) + "\r\n";
        file.Write(line);
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const ReviewRow& row = rows[k];
            line = std::to_string(k + 1);
            for (std::string_view text :
                 {std::string_view(row.id), std::string_view(row.bookTitle),
                  std::string_view(row.bookAuthor), std::string_view(MatchKindText(row.kind)),
                  std::string_view(row.controlNumber), std::string_view(row.catalogueTitle),
                  std::string_view(row.catalogueAuthor), std::string_view(row.callNumber)}) {
                AppendColumn(line, text);
            }
            AppendColumn(line, std::string_view(&row.characterCoding, 1));
            AppendColumn(line, row.written ? std::to_string(row.offset) : "");
            AppendColumn(line, row.written ? std::to_string(row.length) : "");
            AppendColumn(line, row.written ? row.checksum : "");
            AppendColumn(line, row.repeated ? "yes" : "");
            line += "\r\n";
            file.Write(line);
        }
        file.Commit();
    }
    return file.Result();
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
        row.repeated = c[13] == "yes";
        rows.push_back(std::move(row));
    }
    return rows;
}
