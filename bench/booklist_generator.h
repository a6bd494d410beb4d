#pragma once
#include <filesystem>
#include <string>

// Writes a booklist of `entries` invented entries of realistic length (about 400 bytes a line,
// as the programme's own lists run) and a matches file naming `matched` of them, into `folder`.
void WriteGeneratedBooklist(const std::filesystem::path& folder, int entries, int matched);

// One invented title of the kind the generator writes, for key benchmarks.
std::string GeneratedTitle(unsigned seed);
