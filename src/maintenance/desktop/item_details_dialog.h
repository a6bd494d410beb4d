#pragma once

// The Item Details window: every stored field of the book selected in the main list.

inline constexpr int ItemDetailsWindowNumber = 5;
inline constexpr int ItemDetailsOkControl = 599;

// Shows the book of the main list's selected row until the user closes the window; nothing when
// no row is selected.
void ShowItemDetails();
