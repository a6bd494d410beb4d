#pragma once
#include <functional>
#include <string>

#include "print/print_window.h"

// The Print window, in which the user picks a printer before anything is printed. Gives the
// device of the chosen printer, opened with `settings` (A4 portrait when empty), or 0 when the
// user cancelled or the printer could not be opened; the user is told of the latter.
int ShowPrintWindow(const std::string& settings = {});

// Tells the user that nothing was printed on `printer`, and why.
void ReportNothingPrinted(const std::string& printer, const std::string& reason);

// The Print window, then `print` on the chosen printer's device. When `print` says that nothing
// was printed the user is told that the printer took no document, and why when the printer said
// (a queue that rejects jobs). Nothing when the window was cancelled.
void PrintOnChosenPrinter(const std::function<bool(int device)>& print);
