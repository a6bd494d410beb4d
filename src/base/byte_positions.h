#pragma once
#include <cstddef>

// The positions of the first `limit` bytes equal to `byte` in data[from, to); gives how many
// there are. For the delimiters of booklist lines and catalogue fields, which every byte of
// those files passes: on a processor with AVX2 the search looks at 32 bytes a step, else at 16.
std::size_t FindBytePositions(const char* data, std::size_t from, std::size_t to, char byte,
                              std::size_t* positions, std::size_t limit);

// The offset of the first byte in [data, data + size) that is `a`, `b` or `c`, or `size` when
// there is none: the end of a line or of a record. The same steps as above.
std::size_t FindFirstOf(const char* data, std::size_t size, char a, char b, char c);

// Whether every byte of [data, data + size) is an ASCII digit, 32 bytes a step with AVX2: a
// record's directory, which every record of a catalogue passes, is digits alone when it is well
// formed.
bool AllAsciiDigits(const char* data, std::size_t size);
