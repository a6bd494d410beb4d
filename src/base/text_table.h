#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

// Hash tables keyed by exact, case-sensitive text that can be looked up with a string_view
// without building a std::string first.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept {
        return std::hash<std::string_view>{}(text);
    }
};

template <typename Value>
using TextTable = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;
using TextSet = std::unordered_set<std::string, TextHash, std::equal_to<>>;
