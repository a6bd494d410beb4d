#include "round_trip.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "compare/marc_reader.h"
#include "compare/marc_writer.h"
#include "compare/tagging.h"

namespace {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "written record check failed: %s\n", what);
    std::abort();
}

std::size_t Number(std::string_view digits) {
    std::size_t value = 0;
    for (const char c : digits) {
        Require(c >= '0' && c <= '9', "a number of the directory or leader is not digits");
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    return value;
}

}  // namespace

void CheckWrittenRecord(std::string_view leaderWritten, std::string_view bytes) {
    Require(bytes.size() >= 26, "shorter than a leader and two terminators");
    Require(bytes.size() <= 99999, "longer than the leader can state");
    Require(Number(bytes.substr(0, 5)) == bytes.size(), "record length");
    Require(bytes.back() == RecordTerminator, "record terminator");
    const std::size_t base = Number(bytes.substr(12, 5));
    Require(base >= 25 && (base - 25) % 12 == 0 && base <= bytes.size() - 1, "base address");
    Require(bytes[base - 1] == FieldTerminator, "directory terminator");
    Require(bytes.find(RecordTerminator) == bytes.size() - 1, "a record terminator inside");
    Require(bytes.find(FieldTerminator) == base - 1, "a field terminator before the data");

    std::vector<std::string> written;
    const std::size_t entries = (base - 25) / 12;
    std::size_t next = 0;
    for (std::size_t k = 0; k < entries; ++k) {
        const std::string_view entry = bytes.substr(24 + k * 12, 12);
        const std::size_t length = Number(entry.substr(3, 4));
        const std::size_t start = Number(entry.substr(7, 5));
        Require(start == next, "fields not back to back");
        Require(base + start + length <= bytes.size() - 1, "field past the end");
        Require(bytes[base + start + length - 1] == FieldTerminator, "field terminator");
        Require(bytes.substr(base + start, length - 1).find(FieldTerminator) == std::string::npos,
                "a field terminator inside a field");
        written.push_back(std::string(entry.substr(0, 3)) +
                          std::string(bytes.substr(base + start, length - 1)));
        next = start + length;
    }
    Require(base + next == bytes.size() - 1, "data area length");

    // The reader takes no fields from a record under 40 bytes: one field with empty content. Such
    // a record has no title, so a comparison never matches and writes it.
    if (bytes.size() < 40) return;
    CatalogueRecord again;
    Require(SplitMarcRecord(bytes, again) == written.size(), "split field count");
    for (std::size_t k = 0; k < written.size(); ++k) {
        Require(std::string(again.FieldTag(k)) + std::string(again.FieldContent(k)) == written[k],
                "split field text");
    }
    std::string leader(leaderWritten);
    leader.resize(24, ' ');  // a leader read short is written padded
    Require(again.leader.substr(5, 7) == leader.substr(5, 7) &&
                again.leader.substr(17) == leader.substr(17),
            "leader positions kept");
}

void CompareOneRecord(std::string_view bytes, unsigned char choice) {
    CatalogueRecord record;
    SplitMarcRecord(bytes, record);
    ExtractBookData(record);
    CatalogueRecord direct;
    ExtractBookData(bytes, direct);
    Require(direct.title == record.title && direct.author == record.author &&
                direct.callNumber == record.callNumber && direct.series == record.series,
            "texts from the bytes as from the split record");
    CatalogueRecord single;
    BookFieldIndex fields;
    fields.Index(bytes);
    for (const BookText text :
         {BookText::Series, BookText::CallNumber, BookText::Author, BookText::Title}) {
        fields.TextInto(single, text);
    }
    Require(single.title == record.title && single.author == record.author &&
                single.callNumber == record.callNumber && single.series == record.series,
            "texts one at a time as all together");
    const TaggingOptions options{(choice & 1) != 0, (choice & 2) != 0};
    std::string written;
    if (TagMatchedRecord(record, 1 + (choice >> 2) % 4, options, written) ==
        RebuildResult::Rebuilt) {
        CheckWrittenRecord(record.leader, written);
    }
}
