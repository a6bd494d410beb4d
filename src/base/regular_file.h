#pragma once
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// A file of the program's own, or one the user picked to be copied in, opened for reading only
// when it is a regular file. A FIFO or a device is refused without waiting for a writer, so a
// misplaced special file cannot stop the program.
struct RegularFile {
    FileHandle file{nullptr, &std::fclose};
    std::string reason;  // the system's word for the failure, or "not a file"
    explicit operator bool() const { return file != nullptr; }
};

RegularFile OpenRegularFile(const std::string& path);

// The whole contents of a regular file opened as above; nothing, with `reason` set, when it cannot
// be opened or read to its end.
std::optional<std::string> ReadRegularFile(const std::string& path, std::string& reason);

// The first of `paths` that exists (its links followed) and is not a regular file, or "". The
// program replaces its results by renaming new files onto the old ones, all together: a FIFO or a
// device in their place would be written into, holding the run until a reader came, and a folder
// would refuse the rename after the others were placed. A run refuses them before it changes
// anything.
std::string FirstSpecialFile(const std::vector<std::string>& paths);
