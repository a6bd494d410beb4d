#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

// The values of an enumeration written by name in the program's files and options, their names
// standing in `names` in the order of the values from 0.
template <typename Enum, std::size_t N>
const char* NameOf(const std::array<const char*, N>& names, Enum value) {
    return names[static_cast<std::size_t>(value)];
}

// The value `name` stands for; nothing for a name that is none of them.
template <typename Enum, std::size_t N>
std::optional<Enum> ValueNamed(const std::array<const char*, N>& names, std::string_view name) {
    for (std::size_t i = 0; i < N; ++i) {
        if (name == names[i]) return static_cast<Enum>(i);
    }
    return std::nullopt;
}
