#include "maintenance/booklist_copy.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/block_reader.h"
#include "base/line_reader.h"
#include "booklist/booklist.h"

namespace {

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

bool HoldsBooklistEntry(std::FILE* file) {
    LineReader reader(file);
    std::string line;
    BookRecord record;
    while (reader.Next(line)) {
        if (ParseBooklistLine(line, record)) return true;
    }
    return false;
}

}  // namespace

FileWriteResult ReplaceBooklistWith(const DataFolder& folder, const std::string& source) {
    const FileHandle file(std::fopen(source.c_str(), "rb"), &std::fclose);
    if (!file) return {false, std::strerror(errno)};
    struct stat status {};
    if (::fstat(::fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode))
        return {false, "not a file"};
    if (!HoldsBooklistEntry(file.get())) return {false, "it holds no booklist entries"};
    if (std::fseek(file.get(), 0, SEEK_SET) != 0) return {false, std::strerror(errno)};

    ReplacingFile target;
    if (!target.Open(folder.Booklist())) return target.Result();
    BlockReader blocks(file.get(), 1 << 16);
    for (std::string_view bytes = blocks.Available(); !bytes.empty(); bytes = blocks.Available()) {
        target.Write(bytes);
        blocks.Consume(bytes.size());
    }
    if (std::ferror(file.get())) {
        target.Discard();
        return {false, "cannot be read to its end"};
    }
    target.Commit();
    return target.Result();
}
