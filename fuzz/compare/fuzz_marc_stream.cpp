// Any bytes as a catalogue file: read record by record, each compared, tagged and rebuilt.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "compare/marc_reader.h"
#include "round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Read from memory: a temporary file would cost a new inode per input.
    std::uint8_t none = 0;
    std::FILE* file = ::fmemopen(size > 0 ? const_cast<std::uint8_t*>(data) : &none, size, "rb");
    if (!file) std::abort();
    {
        // Small blocks: records then cross block ends, and no input pays for a block of the
        // comparison's size.
        MarcFileReader reader(file, 512);
        std::string record;
        std::int64_t before = 0;
        unsigned char choice = 0;
        while (!reader.AtEnd()) {
            ReadMarcRecord(reader, record);
            // Every record consumes at least one byte, so the loop ends.
            if (reader.Position() <= before) __builtin_trap();
            before = reader.Position();
            CompareOneRecord(record, choice++);
        }
        if (before != static_cast<std::int64_t>(size)) __builtin_trap();
    }
    std::fclose(file);
    return 0;
}
