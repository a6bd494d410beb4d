#pragma once
#include <string>
#include <vector>

#include "booklist/data_folder.h"

// The Export command: the dialog that chooses the format and the fields, then the writing of the
// books the main list shows, in its order.

inline constexpr int ExportWindowNumber = 7;
inline constexpr int ExportFormatFrame = 700;
inline constexpr int ExportCommaOption = 701;
inline constexpr int ExportTabOption = 702;
inline constexpr int ExportFieldsFrame = 703;
inline constexpr int ExportFirstFieldControl = 704;  // the twelve fields are 704 to 715
inline constexpr int ExportResetControl = 790;
inline constexpr int ExportOkControl = 798;
inline constexpr int ExportCancelControl = 799;

// Writes the books with these ids, in this order: the rows the main list shows. The file dialog
// starts in the data folder, whose own files are refused as targets. Nothing when there are no
// rows.
void ExportList(const DataFolder& folder, const std::vector<std::string>& rowIds);
