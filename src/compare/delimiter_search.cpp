#include "compare/delimiter_search.h"

#include "base/byte_positions.h"
#include "compare/marc_record.h"

std::size_t FindRecordEnd(const char* from, std::size_t size) {
    return FindFirstOf(from, size, RecordTerminator, '\0', '\0');
}

std::size_t FindFieldTerminators(const char* bytes, std::size_t from, std::size_t to,
                                 std::size_t* positions, std::size_t limit) {
    return FindBytePositions(bytes, from, to, FieldTerminator, positions, limit);
}
