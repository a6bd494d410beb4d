#include "app/startup_constants.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "base/line_reader.h"
#include "base/regular_file.h"
#include "base/text.h"

#ifndef TALLYLEAF_SERVER_URL
#define TALLYLEAF_SERVER_URL ""
#endif

namespace {

// A FIFO or a device named "Server.txt" is no address, and must not stop the start.
std::string FirstLineOf(const std::string& path) {
    const RegularFile file = OpenRegularFile(path);
    std::string line;
    if (file) LineReader(file.file.get()).Next(line);
    return line;
}

}  // namespace

ServerAddress ServerAddressFrom(std::string text) {
    // Editors on Windows start a UTF-8 file with a byte-order mark.
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(byteOrderMark)) text.erase(0, byteOrderMark.size());
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), blank));
    text.erase(std::find_if_not(text.rbegin(), text.rend(), blank).base(), text.end());
    ServerAddress address{text, {}};

    std::size_t hostStart = 0;
    for (std::string_view scheme : {"http://", "https://"}) {
        if (CompareIgnoreCase(std::string_view(text).substr(0, scheme.size()), scheme) == 0) {
            hostStart = scheme.size();
            text.replace(0, scheme.size(), scheme);
        }
    }
    const bool unprintable = std::any_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == 0x7f;
    });
    if (hostStart == 0 || unprintable || text.size() == hostStart || text[hostStart] == '/')
        return address;
    if (!text.ends_with('/')) text += '/';
    address.baseUrl = std::move(text);
    return address;
}

ServerAddress ConfiguredServerAddress(const DataFolder& folder) {
    // An environment variable that is set, even to something unusable, is the one that counts:
    // it is how a server is switched off for one run.
    if (const char* environment = std::getenv("TALLYLEAF_SERVER_URL"))
        return ServerAddressFrom(environment);
    const std::string fromFile = FirstLineOf(folder.Server());
    if (!fromFile.empty()) return ServerAddressFrom(fromFile);
    return ServerAddressFrom(TALLYLEAF_SERVER_URL);
}
