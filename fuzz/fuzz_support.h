#pragma once
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

// Each input is handled in a data folder of this process's own, which the target hands the
// loaders. It is the current directory only while an input runs: between inputs libFuzzer
// reads and writes the corpus folders it was given, which may be relative paths.
class FuzzFolder {
  public:
    FuzzFolder() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(Path());
    }
    ~FuzzFolder() { std::filesystem::current_path(previous_); }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

  private:
    // Created on first use and removed when the process exits normally; a crash leaves it,
    // holding the input that crashed.
    struct Owned {
        std::filesystem::path path =
            BaseFolder() / ("tallyleaf-fuzz-" + std::to_string(::getpid()));
        Owned() { std::filesystem::create_directories(path); }
        ~Owned() {
            std::error_code error;
            std::filesystem::remove_all(path, error);
        }
    };
    // A memory-backed folder unless TMPDIR names one: the input's file is rewritten for every
    // input, and on a disk file system each rewrite of a file cut short forces a write-back.
    static std::filesystem::path BaseFolder() {
        std::error_code error;
        if (!std::getenv("TMPDIR") && std::filesystem::is_directory("/dev/shm", error)) {
            return "/dev/shm";
        }
        return std::filesystem::temp_directory_path();
    }
    static const std::filesystem::path& Path() {
        static const Owned owned;
        return owned.path;
    }

    std::filesystem::path previous_;
};

// For LLVMFuzzerInitialize: a crash inside an input happens in the fuzz folder, so unless told
// otherwise libFuzzer is to write the crashing input to the folder it was started in.
inline void KeepArtifactsInStartFolder(int* argc, char*** argv) {
    for (int i = 1; i < *argc; ++i) {
        if (std::strncmp((*argv)[i], "-artifact_prefix=", 17) == 0) return;
        if (std::strncmp((*argv)[i], "-exact_artifact_path=", 21) == 0) return;
    }
    static std::string prefix =
        "-artifact_prefix=" + (std::filesystem::current_path() / "").string();
    static std::vector<char*> arguments;
    arguments.assign(*argv, *argv + *argc);
    arguments.insert(arguments.begin() + 1, prefix.data());
    arguments.push_back(nullptr);
    *argc += 1;
    *argv = arguments.data();
}

inline void WriteInput(const char* name, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(name, "wb");
    if (!file) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}
