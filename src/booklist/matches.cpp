#include "booklist/matches.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "base/line_reader.h"
#include "base/regular_file.h"
#include "base/text.h"
#include "booklist/booklist.h"

void WriteMatches(ReplacingFile& file, const Booklist& booklist, std::string_view firstLine) {
    if (!firstLine.empty()) {
        file.Write(firstLine);
        file.Write("\r\n");
    }
    std::string line;
    for (const auto& [idText, packed] : booklist.Table()) {
        // A packed line always has its 18 fields, so the matched flag and the call number are
        // its last two: most entries are not matched, and their long lines are not split.
        const std::string_view entry = packed;
        const std::size_t flagAt = entry.rfind('\t');
        if (flagAt == std::string_view::npos || ReadWholeNumber(entry.substr(flagAt + 1)) == 0) {
            continue;
        }
        line.assign(entry.substr(0, entry.find('\t')));
        line += ',';
        // packing has made any line break in the call number a space
        line += PackedCallNumber(entry);
        line += "\r\n";
        file.Write(line);
    }
}

FileWriteResult WriteMatchesFile(const DataFolder& folder, const Booklist& booklist) {
    ReplacingFile file;
    if (file.Open(folder.Matches())) {
        WriteMatches(file, booklist, {});
        file.Commit();
    }
    return file.Result();
}

void LoadMatches(const DataFolder& folder, Booklist& booklist) {
    const RegularFile file = OpenRegularFile(folder.Matches());
    if (!file) return;
    LineReader reader(file.file.get());
    std::string line;
    while (reader.Next(line)) {
        const std::size_t comma = line.find(',');
        const std::string_view key = std::string_view(line).substr(0, comma);
        // Only a key that is exactly a loaded id counts: a stale id, spaces or leading zeros
        // name no entry, and an empty record must not enter the table.
        booklist.MarkMatched(key, comma == std::string::npos
                                      ? std::string_view()
                                      : std::string_view(line).substr(comma + 1));
    }
}
