#pragma once
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

// Eight bytes at a time: the scans over whole booklists look for a few delimiter bytes in long
// texts, where a test per byte costs more than the work itself.

// The eight bytes at `at`, the first one in the lowest bits whatever the machine's byte order.
inline std::uint64_t LoadWord(const char* at) {
    std::uint64_t word = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&word, at, 8);
    } else {
        for (int i = 7; i >= 0; --i)
            word = (word << 8) | static_cast<unsigned char>(at[i]);
    }
    return word;
}

// The high bit set in every byte of `word` that equals `value`, and in no other byte.
inline std::uint64_t MatchingBytes(std::uint64_t word, unsigned char value) {
    constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7Full;
    const std::uint64_t x = word ^ (0x0101010101010101ull * value);  // matching bytes become 0
    return ~(((x & low7) + low7) | x | low7);
}

// The index (0 to 7) of the lowest byte marked in a non-zero mask.
inline std::size_t FirstMarkedByte(std::uint64_t mask) {
    return static_cast<std::size_t>(std::countr_zero(mask)) / 8;
}

// Eight bytes of `text` from `from` as a big-endian number, so that numbers order as the bytes
// do: sort keys compare eight bytes in one step. Past the end of the text the bytes are
// `padding`.
inline std::uint64_t BigEndianAt(std::string_view text, std::size_t from, unsigned char padding) {
    std::uint64_t head = 0;
    for (std::size_t i = from; i < from + 8; ++i) {
        head = (head << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : padding);
    }
    return head;
}

// The word with only bit `n % 64` set, looked up rather than shifted into place: a shift by a
// count known only at run time takes several steps on common processors, and the filters and
// pair bits of a comparison set and test such bits for every record.
inline std::uint64_t BitAt(std::uint64_t n) {
    static constexpr auto Bits = [] {
        std::array<std::uint64_t, 64> bits{};
        for (std::size_t i = 0; i < bits.size(); ++i)
            bits[i] = std::uint64_t{1} << i;
        return bits;
    }();
    return Bits[n & 63];
}
