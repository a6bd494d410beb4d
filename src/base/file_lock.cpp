#include "base/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

FileLock::FileLock(const std::string& path, std::chrono::milliseconds wait) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        held_ = true;
        return;
    }
    // Asked again every few milliseconds rather than waited for in the system: a wait there
    // could not be bounded.
    constexpr auto Step = std::chrono::milliseconds(20);
    const auto until = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            held_ = true;
            return;
        }
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= until)
            return;
        std::this_thread::sleep_for(Step);
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);
}
