#pragma once
#include <cstddef>
#include <string>

// A real file system of a few bytes, mounted for a test (a tmpfs of `bytes`), on which writes fail
// as they do on a full disk. Mounting needs root, as the CI runs; elsewhere Path() is empty and
// the test skips.
class SmallDisk {
  public:
    explicit SmallDisk(std::size_t bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    const std::string& Path() const { return path_; }

  private:
    std::string folder_;
    std::string path_;
};
