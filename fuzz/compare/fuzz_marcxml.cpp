// Any bytes as a MARCXML catalogue: its records, up to where the XML stops being well-formed, each
// compared, tagged and rebuilt as the records of an ISO 2709 file are.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "compare/catalogue_reader.h"
#include "compare/marc_reader.h"
#include "round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A leading "<" makes every input a MARCXML file.
    std::string text = "<" + std::string(reinterpret_cast<const char*>(data), size);
    std::FILE* file = ::fmemopen(text.data(), text.size(), "rb");
    if (!file) std::abort();
    {
        CatalogueReader reader(file);
        std::string_view record;
        unsigned char choice = 0;
        while (reader.Next(record)) {
            // The reader makes well-framed records: a leader, a directory closed by its
            // terminator where the base address says, and the record terminator last.
            if (record.size() < 26 || record.back() != RecordTerminator) __builtin_trap();
            if (record.size() >= 38 && !IsMarcRecord(record)) __builtin_trap();
            CompareOneRecord(record, choice++);
        }
    }
    std::fclose(file);
    return 0;
}
