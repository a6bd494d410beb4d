#include "booklist/book_record.h"

#include <algorithm>

#include "base/byte_positions.h"
#include "base/byte_scan.h"
#include "base/text.h"

PackedFields SplitPackedLine(std::string_view packed, int fieldCount) {
    // Every table scan splits every entry: the TABs are found in one vector pass.
    PackedFields fields{};
    std::size_t tabs[PackedFieldCount];
    const std::size_t wanted =
        std::min<std::size_t>(static_cast<std::size_t>(fieldCount), PackedFieldCount);
    const std::size_t found =
        FindBytePositions(packed.data(), 0, packed.size(), '\t', tabs, wanted);
    std::size_t start = 0;
    for (std::size_t n = 0; n < found; ++n) {
        fields[n] = packed.substr(start, tabs[n] - start);
        start = tabs[n] + 1;
    }
    // Fewer TABs than pieces wanted: the last piece runs to the end.
    if (found < wanted) fields[found] = packed.substr(start);
    return fields;
}

std::string_view PackedCallNumber(std::string_view packed) {
    const std::size_t last = packed.rfind('\t');
    if (last == std::string_view::npos || last == 0) return {};
    const std::size_t before = packed.rfind('\t', last - 1);
    if (before == std::string_view::npos) return {};
    return packed.substr(before + 1, last - before - 1);
}

BookRecord UnpackBookRecord(std::string_view packed) {
    const PackedFields f = SplitPackedLine(packed);
    BookRecord r;
    r.id = ReadWholeNumber(f[FieldId]);
    r.title = f[FieldTitle];
    r.author = f[FieldAuthor];
    r.australianAuthor = f[FieldAustralianAuthor];
    r.publisher = f[FieldPublisher];
    r.yearPublished = f[FieldYearPublished];
    r.isbn = f[FieldIsbn];
    r.annotation = f[FieldAnnotation];
    r.categories = f[FieldCategories];
    r.level = f[FieldLevel];
    r.series = f[FieldSeries];
    r.format = f[FieldFormat].empty() ? std::string_view("Book") : f[FieldFormat];
    r.scisNumber = f[FieldScisNumber];
    r.titleKey = f[FieldTitleKey];
    r.surnameKey = f[FieldSurnameKey];
    r.seriesKey = f[FieldSeriesKey];
    r.callNumber = f[FieldCallNumber];
    r.matched = ReadWholeNumber(f[FieldMatched]);
    r.levelBand = LevelBandOf(r.level);
    return r;
}

namespace {

std::size_t CountTabs(std::string_view text) {
    std::size_t count = 0;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        count += static_cast<std::size_t>(
            std::popcount(MatchingBytes(LoadWord(text.data() + at), '\t')));
    }
    for (; at < text.size(); ++at)
        count += text[at] == '\t';
    return count;
}

// A call number comes from a catalogue record, which may hold anything: a CR, LF or NUL in it
// would break the line when the matches file is written and read back.
void HoldLineBreaksAsSpaces(std::string& packed, std::size_t from) {
    for (std::size_t i = from; i < packed.size(); ++i) {
        if (packed[i] == '\r' || packed[i] == '\n' || packed[i] == '\0') packed[i] = ' ';
    }
}

// Joins the fields. With `tabsAsSpaces` every TAB inside a value is held as a space: it would
// shift every later field of the line. Only a call number from a catalogue or the matches file
// can carry one.
std::string JoinFields(const BookRecord& r, bool tabsAsSpaces) {
    std::string packed = std::to_string(r.id);
    packed.reserve(packed.size() + r.title.size() + r.author.size() + r.annotation.size() +
                   r.categories.size() + r.titleKey.size() + r.surnameKey.size() + 160);
    const std::string_view format = r.format.empty() ? std::string_view("Book") : r.format;
    int field = FieldId;
    for (const std::string_view value :
         {std::string_view(r.title), std::string_view(r.author),
          std::string_view(r.australianAuthor), std::string_view(r.publisher),
          std::string_view(r.yearPublished), std::string_view(r.isbn),
          std::string_view(r.annotation), std::string_view(r.categories), std::string_view(r.level),
          std::string_view(r.series), format, std::string_view(r.scisNumber),
          std::string_view(r.titleKey), std::string_view(r.surnameKey),
          std::string_view(r.seriesKey), std::string_view(r.callNumber)}) {
        packed += '\t';
        const std::size_t from = packed.size();
        packed += value;
        if (++field == FieldCallNumber) HoldLineBreaksAsSpaces(packed, from);
        if (!tabsAsSpaces) continue;
        for (std::size_t i = from; i < packed.size(); ++i) {
            if (packed[i] == '\t') packed[i] = ' ';
        }
    }
    packed += '\t';
    packed += std::to_string(r.matched);
    return packed;
}

}  // namespace

std::string PackBookRecord(const BookRecord& r) {
    // Values almost never hold a TAB: join them as they are, and only when the line then has more
    // TABs than field separators join them again with each TAB held as a space.
    std::string packed = JoinFields(r, false);
    if (CountTabs(packed) != PackedFieldCount - 1) packed = JoinFields(r, true);
    return packed;
}

int LevelBandOf(std::string_view level) {
    if (ContainsIgnoreCase(level, "R-2")) return 1;
    if (level.find("3-5") != std::string_view::npos) return 2;
    if (level.find("6-9") != std::string_view::npos) return 3;
    return 4;
}
