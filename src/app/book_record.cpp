#include "app/book_record.h"

#include "app/byte_scan.h"
#include "app/text.h"

PackedFields SplitPackedLine(std::string_view packed, int fieldCount) {
    // Every table scan splits every entry, so TABs are found eight bytes at a time.
    PackedFields fields{};
    const char* const data = packed.data();
    const std::size_t size = packed.size();
    std::size_t start = 0;
    int n = 0;
    auto cut = [&](std::size_t tab) {
        fields[n] = std::string_view(data + start, tab - start);
        start = tab + 1;
        return ++n == fieldCount;  // pieces past the last wanted field are ignored
    };
    std::size_t at = 0;
    for (; at + 8 <= size; at += 8) {
        for (std::uint64_t mask = MatchingBytes(LoadWord(data + at), '\t'); mask != 0;
             mask &= mask - 1) {
            if (cut(at + FirstMarkedByte(mask))) return fields;
        }
    }
    for (; at < size; ++at) {
        if (data[at] == '\t' && cut(at)) return fields;
    }
    if (n < fieldCount) fields[n] = std::string_view(data + start, size - start);
    return fields;
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
// A TAB inside a value would shift every later field of the packed line, so it is held as a space.
// Only a call number taken from a catalogue or the matches file can carry one.
void AppendField(std::string& packed, std::string_view value) {
    packed += '\t';
    const std::size_t from = packed.size();
    packed.append(value);
    for (std::size_t tab = packed.find('\t', from); tab != std::string::npos;
         tab = packed.find('\t', tab + 1)) {
        packed[tab] = ' ';
    }
}
}  // namespace

std::string PackBookRecord(const BookRecord& r) {
    std::string packed = std::to_string(r.id);
    packed.reserve(packed.size() + r.title.size() + r.author.size() + r.annotation.size() +
                   r.categories.size() + r.titleKey.size() + r.surnameKey.size() + 160);
    AppendField(packed, r.title);
    AppendField(packed, r.author);
    AppendField(packed, r.australianAuthor);
    AppendField(packed, r.publisher);
    AppendField(packed, r.yearPublished);
    AppendField(packed, r.isbn);
    AppendField(packed, r.annotation);
    AppendField(packed, r.categories);
    AppendField(packed, r.level);
    AppendField(packed, r.series);
    AppendField(packed, r.format.empty() ? std::string_view("Book") : std::string_view(r.format));
    AppendField(packed, r.scisNumber);
    AppendField(packed, r.titleKey);
    AppendField(packed, r.surnameKey);
    AppendField(packed, r.seriesKey);
    AppendField(packed, r.callNumber);
    packed += '\t';
    packed += std::to_string(r.matched);
    return packed;
}

int LevelBandOf(std::string_view level) {
    if (ContainsIgnoreCase(level, "R-2")) return 1;
    if (level.find("3-5") != std::string_view::npos) return 2;
    if (level.find("6-9") != std::string_view::npos) return 3;
    return 4;
}
