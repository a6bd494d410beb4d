#pragma once
#include <string>

// The Item Details window: every stored field of the book selected in the main list.

inline constexpr int ItemDetailsWindowNumber = 5;
inline constexpr int ItemDetailsOkControl = 599;

// Shows the booklist's entry with this id (an empty record when there is none) until the user
// closes the window.
void ShowItemDetails(const std::string& idText);
