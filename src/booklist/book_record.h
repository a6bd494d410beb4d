#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// One booklist entry. Stored in a booklist's table as its packed line: the 18 fields below in
// this order, joined by TAB, `id` and `matched` in plain decimal.
struct BookRecord {
    std::int64_t id = 0;
    std::string title;
    std::string author;
    std::string australianAuthor;
    std::string publisher;
    std::string yearPublished;
    std::string isbn;
    std::string annotation;
    std::string categories;
    std::string level;
    std::string series;
    std::string format = "Book";
    std::string scisNumber;
    std::string titleKey;
    std::string surnameKey;
    std::string seriesKey;
    std::string callNumber;
    std::int64_t matched = 0;
    int levelBand = 4;  // derived from `level`, never stored
};

inline constexpr int PackedFieldCount = 18;

// Field positions in a packed line, from 0.
enum PackedField {
    FieldId,
    FieldTitle,
    FieldAuthor,
    FieldAustralianAuthor,
    FieldPublisher,
    FieldYearPublished,
    FieldIsbn,
    FieldAnnotation,
    FieldCategories,
    FieldLevel,
    FieldSeries,
    FieldFormat,
    FieldScisNumber,
    FieldTitleKey,
    FieldSurnameKey,
    FieldSeriesKey,
    FieldCallNumber,
    FieldMatched,
};

using PackedFields = std::array<std::string_view, PackedFieldCount>;

// The 18 pieces of a packed line as views into it; missing pieces are empty and pieces past the
// 18th are ignored. With a smaller `fieldCount` only that many leading pieces are taken.
PackedFields SplitPackedLine(std::string_view packed, int fieldCount = PackedFieldCount);

// The call number of a whole packed line, taken from its end: it is the last field but one, and a
// TAB inside a value is held as a space when the line is packed.
std::string_view PackedCallNumber(std::string_view packed);

BookRecord UnpackBookRecord(std::string_view packed);
std::string PackBookRecord(const BookRecord& record);

// 1 for a level containing "R-2" (any case), else 2 for "3-5", else 3 for "6-9", else 4.
int LevelBandOf(std::string_view level);
