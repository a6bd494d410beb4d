#include "base/block_reader.h"

#include <algorithm>

BlockReader::BlockReader(std::FILE* file, std::size_t blockBytes)
    : file_(file), buffer_(std::max<std::size_t>(blockBytes, 1)) {}

void BlockReader::Refill() {
    if (eof_) return;
    start_ = 0;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (end_ == 0) eof_ = true;
}
