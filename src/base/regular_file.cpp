#include "base/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

RegularFile OpenRegularFile(const std::string& path) {
    RegularFile result;
    // Opening a FIFO for reading waits for a writer unless it is opened without blocking.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result.reason = std::strerror(errno);
        return result;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        result.reason = S_ISDIR(status.st_mode) ? "it is a folder" : "not a file";
        ::close(fd);
        return result;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    result.file.reset(::fdopen(fd, "rb"));
    if (!result.file) {
        result.reason = std::strerror(errno);
        ::close(fd);
    }
    return result;
}

std::optional<std::string> ReadRegularFile(const std::string& path, std::string& reason) {
    const RegularFile opened = OpenRegularFile(path);
    if (!opened) {
        reason = opened.reason;
        return std::nullopt;
    }
    std::string bytes;
    char block[1 << 16];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, opened.file.get())) > 0;)
        bytes.append(block, got);
    if (std::ferror(opened.file.get())) {
        reason = "it cannot be read to its end";
        return std::nullopt;
    }
    return bytes;
}

std::string FirstSpecialFile(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        struct stat status {};
        if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) return path;
    }
    return {};
}
