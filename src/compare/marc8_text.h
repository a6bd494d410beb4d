#pragma once
#include <optional>
#include <string>
#include <string_view>

// MARC-8 text (the character sets of older catalogue records, switched by escape sequences, with
// combining marks before their letters) in UTF-8, by the YAZ toolkit's converter. Nothing when
// the converter cannot be loaded or refuses the bytes.
std::optional<std::string> Utf8FromMarc8(std::string_view text);
