#pragma once
#include <string>

#include "booklist/booklist.h"

// The Item Details window: every stored field of the book selected in the main list.

inline constexpr int ItemDetailsWindowNumber = 5;
inline constexpr int ItemDetailsOkControl = 599;

// Shows the entry of `booklist` with this id (an empty record when there is none) until the user
// closes the window.
void ShowItemDetails(const Booklist& booklist, const std::string& idText);
