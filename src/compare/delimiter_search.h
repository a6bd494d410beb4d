#pragma once
#include <cstddef>

// The two searches every byte of a catalogue passes through, on the vector searches of the base
// layer.

// The offset of the first record terminator or NUL byte in [from, from + size), or `size` when
// there is neither. One pass for both, so that a record's search ends where the record does.
std::size_t FindRecordEnd(const char* from, std::size_t size);

// The positions of the first `limit` field terminators in bytes[from, to); gives how many there
// are. Fields are short, so one pass over them beats a search call per field.
std::size_t FindFieldTerminators(const char* bytes, std::size_t from, std::size_t to,
                                 std::size_t* positions, std::size_t limit);
