#include "base/byte_positions.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

std::size_t FindFrom(const char* data, std::size_t at, std::size_t to, char byte,
                     std::size_t* positions, std::size_t found, std::size_t limit) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(byte);
    for (; at + 16 <= to && found < limit; at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted)));
        while (mask != 0 && found < limit) {
            positions[found++] = at + static_cast<std::size_t>(__builtin_ctz(mask));
            mask &= mask - 1;
        }
    }
#endif
    for (; at < to && found < limit; ++at) {
        if (data[at] == byte) positions[found++] = at;
    }
    return found;
}

#if defined(__x86_64__)

const bool HasAvx2 = [] {
    __builtin_cpu_init();  // may run before the library's own start-up code
    return __builtin_cpu_supports("avx2") != 0;
}();

__attribute__((target("avx2"))) std::size_t FindAvx2(const char* data, std::size_t at,
                                                     std::size_t to, char byte,
                                                     std::size_t* positions, std::size_t limit) {
    const __m256i wanted = _mm256_set1_epi8(byte);
    std::size_t found = 0;
    for (; at + 32 <= to && found < limit; at += 32) {
        const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at));
        auto mask = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(block, wanted)));
        while (mask != 0 && found < limit) {
            positions[found++] = at + static_cast<std::size_t>(__builtin_ctz(mask));
            mask &= mask - 1;
        }
    }
    return FindFrom(data, at, to, byte, positions, found, limit);
}

#endif

}  // namespace

std::size_t FindBytePositions(const char* data, std::size_t from, std::size_t to, char byte,
                              std::size_t* positions, std::size_t limit) {
#if defined(__x86_64__)
    if (HasAvx2) return FindAvx2(data, from, to, byte, positions, limit);
#endif
    return FindFrom(data, from, to, byte, positions, 0, limit);
}
