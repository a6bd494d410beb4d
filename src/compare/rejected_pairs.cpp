#include "compare/rejected_pairs.h"

#include "base/regular_file.h"
#include "base/text.h"

std::vector<RejectedPair> ReadRejectedPairs(const DataFolder& folder) {
    std::string reason;
    const std::optional<std::string> text = ReadRegularFile(folder.Rejected(), reason);
    std::vector<RejectedPair> pairs;
    if (!text) return pairs;
    for (std::size_t at = 0; at < text->size();) {
        std::size_t end = text->find('\n', at);
        end = end == std::string::npos ? text->size() : end;
        std::string_view line = std::string_view(*text).substr(at, end - at);
        at = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        const std::vector<std::string_view> c = SplitTabs(line);
        if (c.size() != 5 || c[0].empty()) continue;
        pairs.push_back({std::string(c[0]), std::string(c[1]), std::string(c[2]), std::string(c[3]),
                         std::string(c[4])});
    }
    return pairs;
}

std::string RejectedPairsText(const std::vector<RejectedPair>& pairs) {
    std::string text;
    for (const RejectedPair& pair : pairs) {
        text += pair.id + '\t' + pair.controlNumber + '\t' + pair.controlSource + '\t' +
                pair.titleKey + '\t' + pair.surnameKey + "\r\n";
    }
    return text;
}

RejectedPairs::RejectedPairs(const std::vector<RejectedPair>& pairs) {
    for (const RejectedPair& pair : pairs)
        byId_[pair.id].push_back(pair);
}

bool RejectedPairs::Rejects(std::string_view id, std::string_view controlNumber,
                            std::string_view controlSource, std::string_view titleKey,
                            std::string_view surnameKey) const {
    const auto found = byId_.find(id);
    if (found == byId_.end()) return false;
    for (const RejectedPair& pair : found->second) {
        if (!pair.controlNumber.empty()
                ? pair.controlNumber == controlNumber && pair.controlSource == controlSource
                : controlNumber.empty() && pair.titleKey == titleKey &&
                      pair.surnameKey == surnameKey)
            return true;
    }
    return false;
}
