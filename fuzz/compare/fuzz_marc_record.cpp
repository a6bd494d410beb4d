// Any bytes as one record in hand: split, extracted, earlier tags removed, tagged with every
// choice of options and rebuilt; whatever is written must split back into the same fields.
#include <cstdint>
#include <string_view>

#include "round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (unsigned char choice = 0; choice < 16; ++choice)
        CompareOneRecord(bytes, choice);
    return 0;
}
