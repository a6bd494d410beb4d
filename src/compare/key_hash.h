#pragma once
#include <cstdint>
#include <cstring>
#include <string_view>

// The hash by which a comparison's filters and tables know its keys. It takes eight bytes a
// step, and the hashes of every beginning of a text come out of one pass over it. Keys that
// differ may share a hash: every filter and table it serves compares the texts themselves.
namespace key_hash {

inline constexpr std::uint64_t Start = 0x9e3779b97f4a7c15u;

inline std::uint64_t Step(std::uint64_t state, std::uint64_t word) {
    state = (state ^ word) * 0xbf58476d1ce4e5b9u;
    return state ^ (state >> 31);
}

// The fewer than eight bytes at `tail` as one word, the first in the low byte.
inline std::uint64_t TailWord(const char* tail, std::size_t size) {
    const auto byte = [&](std::size_t i) {
        return static_cast<std::uint64_t>(static_cast<unsigned char>(tail[i])) << (8 * i);
    };
    if (size >= 4) {  // two loads of four that overlap in the middle
        std::uint32_t low, high;
        std::memcpy(&low, tail, 4);
        std::memcpy(&high, tail + size - 4, 4);
        return low | static_cast<std::uint64_t>(high) << (8 * (size - 4));
    }
    return size == 0 ? 0 : byte(0) | byte(size / 2) | byte(size - 1);
}

// The hash of a text of `length` bytes whose full words have left `state`, from the word of its
// last fewer than eight bytes. The length goes in the top byte, which they leave free: without it
// "AB" and "AB" followed by a NUL would share their last step.
inline std::uint64_t End(std::uint64_t state, std::uint64_t tailWord, std::size_t length) {
    state = Step(state, tailWord ^ (static_cast<std::uint64_t>(length & 0xff) << 56));
    state *= 0x94d049bb133111ebu;
    return state ^ (state >> 29);
}

}  // namespace key_hash

inline std::uint64_t KeyHash(std::string_view text) {
    std::uint64_t state = key_hash::Start;
    std::size_t at = 0;
    for (; text.size() - at >= 8; at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, 8);
        state = key_hash::Step(state, word);
    }
    return key_hash::End(state, key_hash::TailWord(text.data() + at, text.size() - at),
                         text.size());
}

// Calls `visit(length, hash)` for every beginning of `text`, the empty one and the whole text
// among them, shortest first, until `visit` returns true; gives whether one did.
template <typename Visit>
bool ForEachBeginningHash(std::string_view text, Visit&& visit) {
    std::uint64_t state = key_hash::Start;
    for (std::size_t at = 0;; at += 8) {
        const std::size_t rest = text.size() - at;
        std::uint64_t tail = 0;
        for (std::size_t n = 0; n < 8 && n <= rest; ++n) {
            if (visit(at + n, key_hash::End(state, tail, at + n))) return true;
            if (n < rest)
                tail |= static_cast<std::uint64_t>(static_cast<unsigned char>(text[at + n]))
                        << (8 * n);
        }
        if (rest < 8) return false;
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, 8);
        state = key_hash::Step(state, word);
    }
}
