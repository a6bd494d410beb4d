#pragma once
#include "booklist/booklist.h"
#include "booklist/data_folder.h"
#include "platform/services.h"

// The Compare command: asks how matched records are to be tagged and which catalogue file to
// compare, and runs the comparison on `booklist`, the folder's. True when a comparison ran, so that
// the caller shows the new matches.

inline constexpr int CompareDialogNumber = 20;
inline constexpr int TagTitlesControl = 21;
inline constexpr int TagSeriesControl = 22;
inline constexpr int CompareOkControl = 23;
inline constexpr int CompareCancelControl = 24;
inline constexpr int CallNumberLabelControl = 25;
inline constexpr int CallNumberControl = 26;
inline constexpr int MatchByIsbnControl = 27;

bool ShowCompareDialog(Booklist& booklist, const DataFolder& folder, Services& services);
