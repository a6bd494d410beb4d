#include "base/mapped_window.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The window the fault guard looks after, read by the guard, which may run between any two
// instructions of the reader: plain values the handler can read at any moment.
char* volatile guardedBegin = nullptr;
char* volatile guardedEnd = nullptr;
volatile sig_atomic_t cutShort = 0;
struct sigaction previousAction {};

void RestorePreviousAction() {
    sigaction(SIGBUS, &previousAction, nullptr);
}

void OnBusError(int, siginfo_t* info, void*) {
    char* const at = static_cast<char*>(info->si_addr);
    char* const begin = guardedBegin;
    char* const end = guardedEnd;
    if (begin != nullptr && at >= begin && at < end) {
        // The file lost the page under `at`: zero pages take the place of it and of the rest of
        // the window, and the faulting read is retried on them.
        const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        char* const from = begin + static_cast<std::size_t>(at - begin) / page * page;
        if (mmap(from, static_cast<std::size_t>(end - from), PROT_READ,
                 MAP_FIXED | MAP_PRIVATE | MAP_ANONYMOUS, -1, 0) != MAP_FAILED) {
            cutShort = 1;
            return;
        }
    }
    // Not a fault of the window: the action there was before takes it when the read is retried.
    RestorePreviousAction();
}

}  // namespace

std::size_t MappedWindow::PageBytes() {
    static const auto bytes = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return bytes;
}

bool MappedWindow::Map(int fd, std::int64_t offset, std::size_t bytes) {
    Unmap();
    if (bytes == 0 || guardedBegin != nullptr) return false;
    // The pages are entered in the page table as they are first read, the system mapping a run
    // of them at each fault; entering them all at once (MAP_POPULATE) goes page by page and took
    // more of the system's time.
    void* const mapped =
        mmap(nullptr, bytes, PROT_READ, MAP_PRIVATE, fd, static_cast<off_t>(offset));
    if (mapped == MAP_FAILED) return false;
    data_ = static_cast<char*>(mapped);
    size_ = bytes;

    cutShort = 0;
    guardedBegin = data_;
    guardedEnd = data_ + bytes;
    struct sigaction action {};
    action.sa_sigaction = &OnBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    if (sigaction(SIGBUS, &action, &previousAction) != 0) {
        // Without the guard a cut file could end the process: not worth the copy saved.
        guardedBegin = nullptr;
        guardedEnd = nullptr;
        munmap(data_, size_);
        data_ = nullptr;
        size_ = 0;
        return false;
    }
    return true;
}

void MappedWindow::Unmap() {
    if (data_ == nullptr) return;
    RestorePreviousAction();
    guardedBegin = nullptr;
    guardedEnd = nullptr;
    munmap(data_, size_);
    data_ = nullptr;
    size_ = 0;
}

bool MappedWindow::CutShort() const {
    return data_ != nullptr && cutShort != 0;
}
