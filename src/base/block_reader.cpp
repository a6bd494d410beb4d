#include "base/block_reader.h"

#include <sys/stat.h>

#include <algorithm>

BlockReader::BlockReader(std::FILE* file, std::size_t blockBytes, std::size_t mapWindowBytes)
    : file_(file), buffer_(std::max<std::size_t>(blockBytes, 1)) {
    data_ = buffer_.data();
    if (mapWindowBytes == 0) return;
    const int fd = ::fileno(file);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return;
    const std::int64_t offset = ::ftello(file);
    if (offset < 0) return;
    const std::size_t page = MappedWindow::PageBytes();
    windowBytes_ = std::max(mapWindowBytes / page, std::size_t{1}) * page;
    mapOffset_ = offset;
}

bool BlockReader::MapNext() {
    if (window_.CutShort()) {
        eof_ = true;
        end_ = 0;
        return true;
    }
    window_.Unmap();
    const int fd = ::fileno(file_);
    struct stat status {};
    if (::fstat(fd, &status) != 0) return false;
    // The size is taken afresh for every window, so a file that shrank ends where it now ends.
    if (mapOffset_ >= status.st_size) {
        eof_ = true;
        end_ = 0;
        return true;
    }
    const std::int64_t page = static_cast<std::int64_t>(MappedWindow::PageBytes());
    const std::int64_t from = mapOffset_ / page * page;
    const auto bytes = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(windowBytes_), status.st_size - from));
    if (!window_.Map(fd, from, bytes)) return false;
    const auto skipped = static_cast<std::size_t>(mapOffset_ - from);
    data_ = window_.Data() + skipped;
    end_ = bytes - skipped;
    mapOffset_ = from + static_cast<std::int64_t>(bytes);
    return true;
}

void BlockReader::Refill() {
    if (eof_) return;
    start_ = 0;
    if (windowBytes_ != 0) {
        if (MapNext()) return;
        // From here on the file is read into the buffer, from where the last window ended.
        windowBytes_ = 0;
        data_ = buffer_.data();
        if (::fseeko(file_, mapOffset_, SEEK_SET) != 0) {
            eof_ = true;
            end_ = 0;
            return;
        }
    }
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (end_ == 0) eof_ = true;
}

bool BlockReader::GoBackTo(std::int64_t position) {
    if (windowBytes_ != 0 || position > position_) return false;
    // The file's own offset is where the block in hand ends.
    const std::int64_t blockEnd = position_ + static_cast<std::int64_t>(end_ - start_);
    if (::ftello(file_) != blockEnd || ::fseeko(file_, position, SEEK_SET) != 0) return false;
    start_ = end_ = 0;
    eof_ = false;
    position_ = position;
    return true;
}
