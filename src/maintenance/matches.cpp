#include "maintenance/matches.h"

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/booklist.h"
#include "app/line_reader.h"
#include "app/text.h"
#include "platform/pause.h"

namespace {

bool WriteMatchedLines(std::FILE* file) {
    for (const auto& [idText, packed] : Booklist()) {
        const PackedFields fields = SplitPackedLine(packed);
        if (ReadWholeNumber(fields[FieldMatched]) == 0) continue;
        const BookRecord record = UnpackBookRecord(packed);
        std::string line = std::to_string(record.id);
        line += ',';
        line += record.callNumber;
        line += "\r\n";
        if (std::fwrite(line.data(), 1, line.size(), file) != line.size()) return false;
    }
    return true;
}

// Writes a temporary file beside the target and renames it over the target only when every byte
// is on disk, so that a failed or interrupted save never leaves a half-written matches file.
bool ReplaceMatchesFile() {
    const std::string temporary =
        std::string(MatchesFileName) + ".saving-" + std::to_string(::getpid());
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return false;
    bool written = WriteMatchedLines(file);
    written = std::fflush(file) == 0 && written;
    written = ::fsync(::fileno(file)) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (written && std::rename(temporary.c_str(), MatchesFileName) == 0) return true;
    std::remove(temporary.c_str());
    return false;
}

}  // namespace

bool SaveMatches() {
    const bool saved = ReplaceMatchesFile();
    PauseWithEvents(1000);
    return saved;
}

void LoadMatches() {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(MatchesFileName, "rb"),
                                                         &std::fclose);
    if (!file) return;
    BooklistTable& table = Booklist();
    LineReader reader(file.get());
    std::string line;
    while (reader.Next(line)) {
        const std::size_t comma = line.find(',');
        const std::string_view key = std::string_view(line).substr(0, comma);
        // Only a key that is exactly a loaded id counts: a stale id, spaces or leading zeros
        // name no entry, and an empty record must not enter the table.
        const auto found = table.find(key);
        if (found == table.end()) continue;
        BookRecord record = UnpackBookRecord(found->second);
        record.matched = 1;
        record.callNumber = comma == std::string::npos ? std::string() : line.substr(comma + 1);
        found->second = PackBookRecord(record);
    }
}
