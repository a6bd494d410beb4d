#pragma once
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "support/command_output.h"

// A printed PDF read back with poppler's tools; CommandOutput for what a print command says.

// The text of each page, as `pdftotext -layout` lays it out.
std::vector<std::string> PdfPages(const std::filesystem::path& pdf);
// The names of the font faces `pdffonts` lists, each once, in order.
std::string PdfFontFaces(const std::filesystem::path& pdf);
// The page count `pdfinfo` gives, or -1.
int PdfPageCount(const std::filesystem::path& pdf);
// Whether every one of `parts` is in `text`, each after the one before it.
bool InOrder(const std::string& text, std::initializer_list<std::string_view> parts);
