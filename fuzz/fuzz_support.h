#pragma once
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// The loaders open their files by bare name, so each fuzz process works in a folder of its own.
inline void EnterFuzzFolder() {
    static bool entered = false;
    if (entered) return;
    const auto folder =
        std::filesystem::temp_directory_path() / ("tallyleaf-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    entered = true;
}

inline void WriteInput(const char* name, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(name, "wb");
    if (!file) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}
