#pragma once

// The Compare command: asks how matched records are to be tagged and which catalogue file to
// compare, runs the comparison, then brings the main window back with the list refreshed.

inline constexpr int CompareDialogNumber = 20;
inline constexpr int TagTitlesControl = 21;
inline constexpr int TagSeriesControl = 22;
inline constexpr int CompareOkControl = 23;
inline constexpr int CompareCancelControl = 24;

void ShowCompareDialog();
