#pragma once
#include <cstddef>
#include <cstdlib>
#include <new>
#include <string_view>

// Bytes appended in pieces whose size is known only as an upper bound before they are made:
// a piece is written straight into the buffer, then the unused end is given back. Unlike
// std::string, making room does not fill it first, and growing moves a large buffer's pages
// instead of copying them into fresh memory that must be faulted in again.
class GrowingBuffer {
  public:
    GrowingBuffer() = default;
    ~GrowingBuffer() { std::free(bytes_); }
    GrowingBuffer(const GrowingBuffer&) = delete;
    GrowingBuffer& operator=(const GrowingBuffer&) = delete;

    // Room for `most` more bytes at the end, counted as written until `Shorten` gives some back.
    char* Extend(std::size_t most) {
        if (capacity_ - size_ < most) Grow(size_ + most);
        char* const at = bytes_ + size_;
        size_ += most;
        return at;
    }
    void Shorten(std::size_t unused) { size_ -= unused; }
    void Clear() { size_ = 0; }
    char* data() { return bytes_; }
    std::size_t size() const { return size_; }
    std::string_view View() const { return {bytes_, size_}; }

  private:
    void Grow(std::size_t needed) {
        std::size_t capacity = capacity_ < 4096 ? 4096 : capacity_;
        while (capacity < needed)
            capacity *= 2;
        void* const bytes = std::realloc(bytes_, capacity);
        if (bytes == nullptr) throw std::bad_alloc();
        bytes_ = static_cast<char*>(bytes);
        capacity_ = capacity;
    }
    char* bytes_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};
