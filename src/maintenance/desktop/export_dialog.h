#pragma once
#include <string>
#include <vector>

#include "booklist/booklist.h"
#include "booklist/data_folder.h"
#include "platform/services.h"

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

// Writes the books of `booklist` with these ids, in this order: the rows the main list shows. The
// data folder's own files are refused as targets; the file dialog and the messages go through
// `services`. Nothing when there are no rows.
void ExportList(const Booklist& booklist, const DataFolder& folder,
                const std::vector<std::string>& rowIds, Services& services);
