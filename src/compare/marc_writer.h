#pragma once
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "compare/marc_record.h"

// The largest numbers the directory and leader have digits for.
inline constexpr std::size_t MaxFieldBytes = 9999;  // content plus terminator
inline constexpr std::size_t MaxRecordLength = 99999;

enum class RebuildResult {
    Rebuilt,
    TooLong,    // a field or the whole record exceeds what ISO 2709 can state
    Malformed,  // the leader or a tag holds a delimiter byte, which would break the framing
};

// One field to write: its 3-byte tag and its content, without terminator.
struct FieldToWrite {
    std::string_view tag;
    std::string_view content;
};

// A record's bytes from its leader and fields, with a fresh directory, base address and record
// length; every other leader position as given. `bytes` is left empty unless the result is
// Rebuilt.
RebuildResult WriteMarcRecord(std::string_view leader, std::span<const FieldToWrite> fields,
                              std::string& bytes);
