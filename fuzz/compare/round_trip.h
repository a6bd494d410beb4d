#pragma once
#include <string_view>

#include "compare/marc_record.h"

// Aborts unless `bytes`, written with `leader`, is one well-formed ISO 2709 record whose directory
// lengths and offsets agree with its contents, which splits back into the fields its directory
// gives, and which keeps the leader's positions that writing does not set.
void CheckWrittenRecord(std::string_view leader, std::string_view bytes);

// Runs one record through everything a comparison does to it, tagging with the options and level
// band taken from `choice`, and checks whatever would be written.
void CompareOneRecord(std::string_view bytes, unsigned char choice);
