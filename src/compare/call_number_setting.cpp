#include "compare/call_number_setting.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/line_reader.h"

namespace {

constexpr std::string_view SettingName = "CallNumberFrom\t";

std::vector<std::string> SettingLines(const DataFolder& folder) {
    std::vector<std::string> lines;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        std::fopen(folder.Settings().c_str(), "rb"), &std::fclose);
    if (!file) return lines;
    LineReader reader(file.get());
    std::string line;
    while (reader.Next(line))
        lines.push_back(line);
    return lines;
}

}  // namespace

CallNumberOrder LoadCallNumberOrder(const DataFolder& folder) {
    for (const std::string& line : SettingLines(folder)) {
        if (!line.starts_with(SettingName)) continue;
        return CallNumberOrderFromName(std::string_view(line).substr(SettingName.size()))
            .value_or(CallNumberOrder::DeweyFirst);
    }
    return CallNumberOrder::DeweyFirst;
}

FileWriteResult SaveCallNumberOrder(const DataFolder& folder, CallNumberOrder order) {
    std::string text;
    for (const std::string& line : SettingLines(folder)) {
        if (!line.starts_with(SettingName)) text.append(line).append("\r\n");
    }
    text.append(SettingName).append(CallNumberOrderName(order)).append("\r\n");
    return ReplaceFileContents(folder.Settings(), text);
}
