#pragma once
#include <string>

// The About box: the programme's and the program's names, the booklist's version and the
// credits.

inline constexpr int AboutWindowNumber = 6;
inline constexpr int AboutFirstLineControl = 600;  // the five lines are 600 to 604
inline constexpr int AboutCloseControl = 699;

// `booklistVersion`: the version of the booklist loaded.
void ShowAbout(const std::string& booklistVersion);
