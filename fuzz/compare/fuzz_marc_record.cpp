// Any bytes as one record in hand: split, extracted, earlier tags removed, tagged with every
// choice of options and rebuilt; whatever is written must split back into the same fields.
#include <cstdint>
#include <string_view>

#include "round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Every choice of options, but one level band per input, taken from its size: the band only
    // picks the series text, and four passes instead of sixteen let far more inputs be tried.
    const auto band = static_cast<unsigned char>((size % 4) << 2);
    for (unsigned char options = 0; options < 4; ++options)
        CompareOneRecord(bytes, band | options);
    return 0;
}
