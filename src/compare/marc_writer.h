#pragma once
#include <cstddef>
#include <string>

#include "compare/marc_record.h"

// The largest numbers the directory and leader have digits for.
inline constexpr std::size_t MaxFieldBytes = 9999;  // content plus terminator
inline constexpr std::size_t MaxRecordLength = 99999;

enum class RebuildResult {
    Rebuilt,
    TooLong,    // a field or the whole record exceeds what ISO 2709 can state
    Malformed,  // the leader or a tag holds a delimiter byte, which would break the framing
};

// The record's bytes from its leader and field texts, with a fresh directory, base address and
// record length; every other leader position as read. Field texts shorter than a tag are dropped.
// `bytes` is left empty unless the result is Rebuilt.
RebuildResult RebuildMarcRecord(const CatalogueRecord& record, std::string& bytes);
