#pragma once
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

// The loaders open their files by bare name, so each input's files are written to a folder of
// this process's own, the working directory only while the input runs: between inputs libFuzzer
// reads and writes the corpus folders it was given, which may be relative paths. The folder goes
// when it is left, so only a crash inside a loader leaves one behind, holding the input.
class FuzzFolder {
  public:
    FuzzFolder() : previous_(std::filesystem::current_path()) {
        std::filesystem::create_directories(path_);
        std::filesystem::current_path(path_);
    }
    ~FuzzFolder() {
        std::filesystem::current_path(previous_);
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

  private:
    std::filesystem::path previous_;
    std::filesystem::path path_ =
        std::filesystem::temp_directory_path() / ("tallyleaf-fuzz-" + std::to_string(::getpid()));
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
