#include "compare/delimiter_search.h"

#include "base/byte_positions.h"
#include "compare/marc_record.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

std::size_t FindRecordEndFrom(const char* from, std::size_t at, std::size_t size) {
#if defined(__SSE2__)
    const __m128i terminator = _mm_set1_epi8(RecordTerminator);
    const __m128i nul = _mm_setzero_si128();
    for (; at + 16 <= size; at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + at));
        const __m128i hits =
            _mm_or_si128(_mm_cmpeq_epi8(block, terminator), _mm_cmpeq_epi8(block, nul));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (mask != 0) return at + static_cast<std::size_t>(__builtin_ctz(mask));
    }
#endif
    for (; at < size; ++at) {
        if (from[at] == RecordTerminator || from[at] == '\0') return at;
    }
    return size;
}

#if defined(__x86_64__)

const bool HasAvx2 = [] {
    __builtin_cpu_init();  // may run before the library's own start-up code
    return __builtin_cpu_supports("avx2") != 0;
}();

__attribute__((target("avx2"))) std::size_t FindRecordEndAvx2(const char* from, std::size_t size) {
    const __m256i terminator = _mm256_set1_epi8(RecordTerminator);
    const __m256i nul = _mm256_setzero_si256();
    std::size_t at = 0;
    for (; at + 32 <= size; at += 32) {
        const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + at));
        const __m256i hits =
            _mm256_or_si256(_mm256_cmpeq_epi8(block, terminator), _mm256_cmpeq_epi8(block, nul));
        const auto mask = static_cast<unsigned>(_mm256_movemask_epi8(hits));
        if (mask != 0) return at + static_cast<std::size_t>(__builtin_ctz(mask));
    }
    return FindRecordEndFrom(from, at, size);
}

#endif

}  // namespace

std::size_t FindRecordEnd(const char* from, std::size_t size) {
#if defined(__x86_64__)
    if (HasAvx2) return FindRecordEndAvx2(from, size);
#endif
    return FindRecordEndFrom(from, 0, size);
}

std::size_t FindFieldTerminators(const char* bytes, std::size_t from, std::size_t to,
                                 std::size_t* positions, std::size_t limit) {
    return FindBytePositions(bytes, from, to, FieldTerminator, positions, limit);
}
