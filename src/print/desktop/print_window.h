#pragma once
#include <functional>
#include <string>

#include "platform/services.h"
#include "print/print_window.h"

// Tells the user that nothing was printed on `printer`, and why.
void ReportNothingPrinted(const std::string& printer, const std::string& reason,
                          Services& services);

// The Print window, in which the user picks a printer or "PDF file", then `print` on the device of
// that choice: the printer opened with the job's settings (A4 portrait), or the PDF file the user
// names in the file dialog, written only when whole. When `print` says
// that nothing was printed the user is told that the printer took no document, and why when the
// printer said (a queue that rejects jobs); a PDF file not written is named with the reason.
// Nothing happens when the window or the file dialog is cancelled. The file dialog and the
// messages go through `services`.
void PrintOnChosenPrinter(const std::function<bool(int device)>& print, const PdfFilePlace& pdf,
                          Services& services);
