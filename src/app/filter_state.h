#pragma once
#include <string>

// The main list's filters, as its selectors set them. Part of the main window's state; never saved.
struct FilterState {
    int matchFilter = 0;  // 0 matched only, 1 not matched only, 2 everything
    std::string levelFilter = "All levels";
    std::string categoryFilter = "All categories";
    std::string formatFilter = "All formats";
    // The Find field's text, booklist bytes; empty keeps every entry (app/book_search.h).
    std::string searchText;
};

// The Australian-author selector's entries; its index is read afresh on every fill.
enum AustralianChoice { AustralianAll = 0, AustralianOnly = 1, AustralianNon = 2 };

inline constexpr int MatchFilterMatched = 0;
inline constexpr int MatchFilterNotMatched = 1;
inline constexpr int MatchFilterEverything = 2;

inline constexpr const char* AllCategoriesText = "All categories";
inline constexpr const char* AllFormatsText = "All formats";
