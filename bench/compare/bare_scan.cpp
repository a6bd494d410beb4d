// The least a reader of an ISO 2709 file has to do, as a floor to time the comparison against:
// map the file 4 MB at a time, find each record's end, walk each directory entry and touch the
// first byte of each field. Prints the records and a sum of the touched bytes, so that no step can
// be left out by the compiler.
//
//   tallyleaf_bare_scan CATALOGUE
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t WindowBytes = 4 << 20;

std::size_t Digits(const char* text, int count) {
    std::size_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value * 10 + static_cast<std::size_t>(text[i] - '0');
    return value;
}

struct Totals {
    std::uint64_t records = 0;
    std::uint64_t touched = 0;
};

void WalkRecord(std::string_view record, Totals& totals) {
    ++totals.records;
    if (record.size() < 24) return;
    const std::size_t base = Digits(record.data() + 12, 5);
    for (std::size_t at = 24; at + 12 <= record.size() && record[at] != '\x1e'; at += 12) {
        const std::size_t start = base + Digits(record.data() + at + 7, 5);
        if (start < record.size()) totals.touched += static_cast<unsigned char>(record[start]);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tallyleaf_bare_scan CATALOGUE\n");
        return 2;
    }
    const int fd = open(argv[1], O_RDONLY);
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    Totals totals;
    std::string spill;  // a record that runs over the end of a window
    for (std::size_t offset = 0; offset < size; offset += WindowBytes) {
        const std::size_t length = std::min(WindowBytes, size - offset);
        void* mapped =
            mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, static_cast<off_t>(offset));
        if (mapped == MAP_FAILED) {
            std::perror("mmap");
            return 1;
        }
        const char* data = static_cast<const char*>(mapped);
        std::size_t at = 0;
        while (at < length) {
            const void* end = std::memchr(data + at, '\x1d', length - at);
            if (end == nullptr) {
                spill.append(data + at, length - at);
                break;
            }
            const auto next = static_cast<std::size_t>(static_cast<const char*>(end) - data) + 1;
            if (spill.empty()) {
                WalkRecord({data + at, next - at}, totals);
            } else {
                spill.append(data + at, next - at);
                WalkRecord(spill, totals);
                spill.clear();
            }
            at = next;
        }
        munmap(mapped, length);
    }
    close(fd);
    std::printf("%llu records, %llu\n", static_cast<unsigned long long>(totals.records),
                static_cast<unsigned long long>(totals.touched));
    return 0;
}
