#pragma once
#include <chrono>
#include <string>

// An exclusive lock on a file, held while the object lives, for the processes that must not
// write the same files at once. The system releases it when its holder ends, however it ends, so
// the file itself is never removed.
class FileLock {
  public:
    // Takes the lock on `path` (created when missing), waiting up to `wait` for a holder to let
    // it go. A lock file that cannot be created (a read-only folder) locks nothing and counts as
    // held: there is nothing another writer could do there either.
    FileLock(const std::string& path, std::chrono::milliseconds wait);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // False when another holder kept the lock for the whole wait.
    bool Held() const { return held_; }

  private:
    int fd_ = -1;
    bool held_ = false;
};
