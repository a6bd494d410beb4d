#pragma once
#include <string>

#include "app/filter_state.h"
#include "booklist/booklist.h"
#include "cli/cli_args.h"

// The main list's filters as the commands that work on the visible list take them: --match,
// --level, --category, --format and --australian, each defaulting to everything.
bool ParseListFilters(const CliArgs& cli, FilterState& filters, int& australian,
                      std::string& error);

// A filter value that no book has gives an empty list, most likely from a misspelt value: the
// command still goes on, as the main list would show it, but the user is told which value.
void WarnOfValuesNoBookHas(const Booklist& booklist, const FilterState& filters);
