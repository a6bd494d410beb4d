// Any bytes through NormaliseKey: the key holds only A-Z, 0-9 and single inner spaces, and grows
// by at most five bytes a byte ("&" becomes " AND ", a folded letter a few).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "booklist/keys.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string key = NormaliseKey(text);
    if (key.size() > 5 * size) std::abort();
    if (!key.empty() && (key.front() == ' ' || key.back() == ' ')) std::abort();
    for (std::size_t i = 0; i < key.size(); ++i) {
        const char c = key[i];
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ';
        if (!allowed) std::abort();
        if (c == ' ' && key[i + 1] == ' ') std::abort();
    }
    if (CompareTitleKeys(text, text) != 0) std::abort();
    return 0;
}
