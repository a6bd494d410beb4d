#pragma once
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

// Bytes appended in pieces whose size is known only as an upper bound before they are made:
// a piece is written straight into the buffer, then the unused end is given back. Unlike
// std::string, making room does not fill it first.
class GrowingBuffer {
  public:
    // Room for `most` more bytes at the end, counted as written until `Shorten` gives some back.
    char* Extend(std::size_t most) {
        if (capacity_ - size_ < most) Grow(size_ + most);
        char* const at = bytes_.get() + size_;
        size_ += most;
        return at;
    }
    void Shorten(std::size_t unused) { size_ -= unused; }
    void Clear() { size_ = 0; }
    char* data() { return bytes_.get(); }
    std::size_t size() const { return size_; }
    std::string_view View() const { return {bytes_.get(), size_}; }

  private:
    void Grow(std::size_t needed) {
        std::size_t capacity = capacity_ < 4096 ? 4096 : capacity_;
        while (capacity < needed)
            capacity *= 2;
        auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
        if (size_ > 0) std::memcpy(bytes.get(), bytes_.get(), size_);
        bytes_ = std::move(bytes);
        capacity_ = capacity;
    }
    std::unique_ptr<char[]> bytes_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};
