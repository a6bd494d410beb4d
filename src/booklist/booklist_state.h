#pragma once
#include <string>
#include <string_view>
#include <vector>

// The changes only the booklist loader makes to the booklist module's tables; everyone else reads
// them through booklist.h and changes nothing but match results.

// Sets the version, empties the table and hides the level names, as a load begins.
void BeginBooklistLoad(std::string version);
// Stores one entry and gives the line as stored; `added` is false when an earlier line had the
// same id (the entry is replaced).
std::string_view StoreLoadedEntry(std::string idText, std::string packed, bool& added);
void ReserveBooklist(std::size_t entries);
// The five level names the selector offers.
void FillLevelNames();
void SetNameLists(std::vector<std::string> categories, std::vector<std::string> formats);
