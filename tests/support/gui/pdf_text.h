#pragma once
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// A printed PDF read back with poppler's tools, and what a print command says.

// What `command` prints on its standard output.
std::string CommandOutput(const std::string& command);

// The text of each page, as `pdftotext -layout` lays it out.
std::vector<std::string> PdfPages(const std::filesystem::path& pdf);
// The names of the font faces `pdffonts` lists, each once, in order.
std::string PdfFontFaces(const std::filesystem::path& pdf);
// The page count `pdfinfo` gives, or -1.
int PdfPageCount(const std::filesystem::path& pdf);
// Whether every one of `parts` is in `text`, each after the one before it.
bool InOrder(const std::string& text, std::initializer_list<std::string_view> parts);
