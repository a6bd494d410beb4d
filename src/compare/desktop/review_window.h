#pragma once
#include "booklist/booklist.h"
#include "booklist/data_folder.h"
#include "platform/services.h"
#include "print/print_window.h"

// The Review matches command: lists the matches of the last comparison, those to check first, so
// that the librarian can take back the ones that are not the book, and print the list. Returns once
// the window has closed, or after the message that no comparison has been run; true when matches
// were taken back from `booklist`, so that the caller shows the booklist as it now is. A printout
// to PDF goes where `pdf` says.
bool ShowMatchReview(Booklist& booklist, const DataFolder& folder, const PdfFilePlace& pdf,
                     Services& services);

inline constexpr int ReviewWindowNumber = 36;
inline constexpr int ReviewCaptionControl = 3610;
inline constexpr int ReviewListControl = 3690;
inline constexpr int ReviewNotMatchControl = 3696;
inline constexpr int ReviewPrintControl = 3697;
inline constexpr int ReviewMatchAgainControl = 3694;
inline constexpr int ReviewShowTakenBackControl = 3695;
inline constexpr int ReviewCloseControl = 3699;
