#include "app/startup_constants.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "base/line_reader.h"

#ifndef TALLYLEAF_SERVER_URL
#define TALLYLEAF_SERVER_URL ""
#endif

namespace {

std::string FirstLineOf(const std::string& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    std::string line;
    if (file) LineReader(file.get()).Next(line);
    return line;
}

}  // namespace

std::string NormaliseServerBaseUrl(std::string text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), blank));
    text.erase(std::find_if_not(text.rbegin(), text.rend(), blank).base(), text.end());
    std::size_t hostStart = 0;
    for (const char* scheme : {"http://", "https://"}) {
        if (text.starts_with(scheme)) hostStart = std::char_traits<char>::length(scheme);
    }
    const bool unprintable = std::any_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == 0x7f;
    });
    if (hostStart == 0 || unprintable || text.size() == hostStart || text[hostStart] == '/')
        return {};
    if (!text.ends_with('/')) text += '/';
    return text;
}

std::string ConfiguredServerBaseUrl(const DataFolder& folder) {
    // An environment variable that is set, even to something unusable, is the one that counts:
    // it is how a server is switched off for one run.
    if (const char* environment = std::getenv("TALLYLEAF_SERVER_URL"))
        return NormaliseServerBaseUrl(environment);
    const std::string fromFile = FirstLineOf(folder.Server());
    if (!fromFile.empty()) return NormaliseServerBaseUrl(fromFile);
    return NormaliseServerBaseUrl(TALLYLEAF_SERVER_URL);
}
