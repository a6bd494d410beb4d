#include "maintenance/booklist_copy.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/block_reader.h"
#include "base/line_reader.h"
#include "base/regular_file.h"
#include "booklist/booklist.h"

namespace {

// Why the file cannot be a booklist, or nothing when it can: at least half of its lines that are
// not empty must be entries the loader keeps. One stray line that happens to look like an entry
// does not make random bytes, a PDF or a compressed body a booklist.
std::string NotABooklist(std::FILE* file) {
    LineReader reader(file);
    std::string line;
    BookRecord record;
    std::int64_t lines = 0;
    std::int64_t entries = 0;
    while (reader.Next(line)) {
        if (line.empty()) continue;
        ++lines;
        if (ParseBooklistLine(line, record)) ++entries;
    }
    if (entries == 0) return "it holds no booklist entries";
    if (entries * 2 < lines) {
        return "only " + std::to_string(entries) + " of its " + std::to_string(lines) +
               " lines are booklist entries";
    }
    return {};
}

}  // namespace

FileWriteResult ReplaceBooklistWith(const DataFolder& folder, const std::string& source) {
    const RegularFile opened = OpenRegularFile(source);
    if (!opened) return {false, opened.reason};
    std::FILE* file = opened.file.get();
    struct stat status {};
    if (::fstat(::fileno(file), &status) == 0 && status.st_size > MaxBooklistBytes)
        return {false, "it is larger than 256 MB"};
    if (const std::string reason = NotABooklist(file); !reason.empty()) return {false, reason};
    if (std::fseek(file, 0, SEEK_SET) != 0) return {false, std::strerror(errno)};

    ReplacingFile target;
    if (!target.Open(folder.Booklist())) return target.Result();
    BlockReader blocks(file, 1 << 16);
    for (std::string_view bytes = blocks.Available(); !bytes.empty(); bytes = blocks.Available()) {
        target.Write(bytes);
        blocks.Consume(bytes.size());
    }
    if (std::ferror(file)) {
        target.Discard();
        return {false, "cannot be read to its end"};
    }
    target.Commit();
    return target.Result();
}
