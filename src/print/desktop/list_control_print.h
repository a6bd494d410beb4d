#pragma once
#include <string>

#include "platform/services.h"
#include "print/print_window.h"

class ReportList;

// Prints the whole content of a list control as a table, on the printer the user picks in the
// Print window (or to the PDF file named there, `pdf` refusing what it must): its columns' headings
// and widths (the pixel widths times `scale`, in millimetres), then every row in the order shown.
// A "|" inside a cell after the first is printed as a space, so that it does not split the cell.
void PrintListControl(ReportList* list, const std::string& title, double scale,
                      const PdfFilePlace& pdf, Services& services);
