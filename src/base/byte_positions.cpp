#include "base/byte_positions.h"

#include <cstdint>

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

std::size_t FindFirstFrom(const char* data, std::size_t at, std::size_t size, char a, char b,
                          char c) {
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(a);
    const __m128i vb = _mm_set1_epi8(b);
    const __m128i vc = _mm_set1_epi8(c);
    for (; at + 16 <= size; at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        const __m128i hits =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, va), _mm_cmpeq_epi8(block, vb)),
                         _mm_cmpeq_epi8(block, vc));
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (mask != 0) return at + static_cast<std::size_t>(__builtin_ctz(mask));
    }
#endif
    for (; at < size; ++at) {
        if (data[at] == a || data[at] == b || data[at] == c) return at;
    }
    return size;
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
    if (limit == 0) return 0;
    for (; at + 32 <= to; at += 32) {
        const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at));
        for (auto mask =
                 static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(block, wanted)));
             mask != 0; mask &= mask - 1) {
            positions[found++] = at + static_cast<std::size_t>(__builtin_ctz(mask));
            if (found == limit) return found;
        }
    }
    return FindFrom(data, at, to, byte, positions, found, limit);
}

// The bytes at `at` that are `a` or `b`, marked.
__attribute__((target("avx2"))) inline __m256i EitherAt(const char* at, __m256i a, __m256i b) {
    const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    return _mm256_or_si256(_mm256_cmpeq_epi8(block, a), _mm256_cmpeq_epi8(block, b));
}

// Two bytes sought, 64 bytes a step: the end of a record, a terminator or a NUL, is sought over
// every byte of a catalogue.
__attribute__((target("avx2"))) std::size_t FindFirstOfTwoAvx2(const char* data, std::size_t size,
                                                               char a, char b) {
    const __m256i va = _mm256_set1_epi8(a);
    const __m256i vb = _mm256_set1_epi8(b);
    std::size_t at = 0;
    for (; at + 64 <= size; at += 64) {
        const __m256i low = EitherAt(data + at, va, vb);
        const __m256i high = EitherAt(data + at + 32, va, vb);
        const __m256i either = _mm256_or_si256(low, high);
        if (_mm256_testz_si256(either, either)) continue;
        const std::uint64_t mask =
            static_cast<std::uint32_t>(_mm256_movemask_epi8(low)) |
            static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(high)))
                << 32;
        return at + static_cast<std::size_t>(__builtin_ctzll(mask));
    }
    return FindFirstFrom(data, at, size, a, b, b);
}

__attribute__((target("avx2"))) std::size_t FindFirstAvx2(const char* data, std::size_t size,
                                                          char a, char b, char c) {
    if (b == c) return FindFirstOfTwoAvx2(data, size, a, b);
    const __m256i va = _mm256_set1_epi8(a);
    const __m256i vb = _mm256_set1_epi8(b);
    const __m256i vc = _mm256_set1_epi8(c);
    std::size_t at = 0;
    for (; at + 32 <= size; at += 32) {
        const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at));
        const __m256i hits = _mm256_or_si256(
            _mm256_or_si256(_mm256_cmpeq_epi8(block, va), _mm256_cmpeq_epi8(block, vb)),
            _mm256_cmpeq_epi8(block, vc));
        const auto mask = static_cast<unsigned>(_mm256_movemask_epi8(hits));
        if (mask != 0) return at + static_cast<std::size_t>(__builtin_ctz(mask));
    }
    return FindFirstFrom(data, at, size, a, b, c);
}

// A byte is a digit when neither its excess over '9' nor its shortfall from '0' is above 0.
__attribute__((target("avx2"))) bool AllDigitsAvx2(const char* data, std::size_t size) {
    const __m256i nine = _mm256_set1_epi8('9');
    const __m256i zero = _mm256_set1_epi8('0');
    __m256i outside = _mm256_setzero_si256();
    // The last step overlaps the one before it rather than leaving bytes for a loop.
    for (std::size_t at = 0;; at += 32) {
        if (at + 32 > size) at = size - 32;
        const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at));
        outside = _mm256_or_si256(
            outside, _mm256_or_si256(_mm256_subs_epu8(block, nine), _mm256_subs_epu8(zero, block)));
        if (at + 32 == size) break;
    }
    return _mm256_testz_si256(outside, outside) != 0;
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

std::size_t FindFirstOf(const char* data, std::size_t size, char a, char b, char c) {
#if defined(__x86_64__)
    if (HasAvx2) return FindFirstAvx2(data, size, a, b, c);
#endif
    return FindFirstFrom(data, 0, size, a, b, c);
}

bool AllAsciiDigits(const char* data, std::size_t size) {
#if defined(__x86_64__)
    if (HasAvx2 && size >= 32) return AllDigitsAvx2(data, size);
#endif
    for (std::size_t at = 0; at < size; ++at) {
        if (data[at] < '0' || data[at] > '9') return false;
    }
    return true;
}
