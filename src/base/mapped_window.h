#pragma once
#include <cstddef>
#include <cstdint>

// A read-only view of part of a regular file through the memory map, for a reader that goes once
// over a large file: the bytes are read where the system keeps them, without a copy.
//
// A file cut short by another program while it is mapped would make the pages past its new end
// fault. While a window is mapped, a guard on that fault puts zero pages in place of the lost
// ones, so the read goes on and sees NUL bytes, and notes the cut: the reader then stops. One
// window of the process is mapped at a time; Map fails while another one is, and the caller reads
// the file the plain way.
class MappedWindow {
  public:
    MappedWindow() = default;
    MappedWindow(const MappedWindow&) = delete;
    MappedWindow& operator=(const MappedWindow&) = delete;
    ~MappedWindow() { Unmap(); }

    // The system's page size, a multiple of which `offset` must be.
    static std::size_t PageBytes();

    // Maps `bytes` bytes of the open file `fd` from `offset`; false when the system will not.
    bool Map(int fd, std::int64_t offset, std::size_t bytes);
    void Unmap();

    const char* Data() const { return data_; }
    std::size_t Size() const { return size_; }
    // Whether the file was found cut short inside the window since it was mapped.
    bool CutShort() const;

  private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
};
