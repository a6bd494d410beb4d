#pragma once
#include <string>

#include "app/filter_state.h"
#include "booklist/booklist.h"
#include "cli/cli_args.h"

// The main list's filters as the commands that work on the visible list take them: --match,
// --level, --category, --format and --australian, each defaulting to everything.
bool ParseListFilters(const CliArgs& cli, FilterState& filters, int& australian,
                      std::string& error);

// The level given as the selector shows it: a selector entry in any letter case, or the Level
// column's "R-2", "3-5", "6-9" or "10-12" for the entry of that band, so that the command keeps
// exactly what the selector entry keeps. Another text is left as given.
void ResolveLevelFilter(const Booklist& booklist, FilterState& filters);

// A filter value that no book has gives an empty list, most likely from a misspelt value: the
// command still goes on, as the main list would show it, but the user is told which value.
void WarnOfValuesNoBookHas(const Booklist& booklist, const FilterState& filters);
