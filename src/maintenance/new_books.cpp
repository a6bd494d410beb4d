#include "maintenance/new_books.h"

#include <string_view>

#include "base/line_reader.h"
#include "base/regular_file.h"
#include "booklist/booklist.h"

namespace {

// The id is the text before the first tab, unchanged: a padded id does not match the table key.
std::string_view IdText(std::string_view line) {
    return line.substr(0, line.find('\t'));
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != prefix[i]) return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> ReadNewBookRows(const Booklist& booklist, const std::string& path) {
    std::vector<std::string> rows;
    const RegularFile file = OpenRegularFile(path);
    if (!file) return rows;
    LineReader reader(file.file.get());
    for (std::string line; reader.Next(line) && rows.size() < MaxNewBookRows;) {
        const std::string_view id = IdText(line);
        if (id.empty() || booklist.LookupLine(id).empty()) continue;
        const BookRecord book = booklist.LookupRecord(id);
        rows.push_back(std::to_string(book.id) + '\n' + book.title + '\n' + book.author + '\n' +
                       book.callNumber + '\n' + NewBooksBandName(book.levelBand));
    }
    return rows;
}

const char* NewBooksBandName(int levelBand) {
    static constexpr const char* names[] = {"0-2", "3-5", "6-9", "Mature"};
    return (levelBand >= 1 && levelBand <= 4) ? names[levelBand - 1] : names[3];
}

std::string NewBooksCaption(std::size_t count) {
    return "TUL new books. " + std::to_string(count) + " new entries";
}

std::string ServerHostName(const std::string& baseUrl) {
    std::string_view host = baseUrl;
    for (std::string_view scheme : {"http://", "https://"}) {
        if (StartsWithNoCase(host, scheme)) host.remove_prefix(scheme.size());
    }
    return std::string(host.substr(0, host.find('/')));
}
