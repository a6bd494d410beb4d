#pragma once
#include <string>
#include <string_view>

// A sort key for Custom columns, for lists too long to call the comparator for every pair: the
// key of a cell is computed once per sort and keys are compared byte by byte. It must order cells
// exactly as the comparator set by SetCustomCompare does (NormaliseKey for CompareTitleKeys).
using CustomSortKey = std::string (*)(std::string_view);
void SetCustomSortKey(CustomSortKey key);
// nullptr when none is set: then the comparator is used.
CustomSortKey CurrentCustomSortKey();
