#pragma once
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/replacing_file.h"
#include "booklist/book_record.h"
#include "booklist/booklist.h"
#include "booklist/data_folder.h"
#include "print/print_window.h"

// Writes the listed books as comma- or tab-separated text with a header line, for spreadsheets.

enum class ExportFormat { Comma = 1, Tab = 2 };

inline constexpr int ExportFieldCount = 12;

struct ExportFieldInfo {
    std::string_view name;          // as given on the command line
    std::string_view checkBoxText;  // as the Export dialog shows it
    std::string_view headerText;    // as written in the header line
    bool onByDefault;
};

// The twelve fields, in the fixed order of the dialog and of every written line.
const std::array<ExportFieldInfo, ExportFieldCount>& ExportFields();

using ExportFieldSet = std::array<bool, ExportFieldCount>;
ExportFieldSet DefaultExportFields();
// Whether the lines written with these fields show the entries' annotations.
bool ExportShowsAnnotations(const ExportFieldSet& fields);

// Appends the separator and `value` as an export line holds it: a tab and the value, or a comma
// and the value in double quotes with any quote inside it doubled. A value that a spreadsheet
// would take as a formula (beginning with "=", "+", "-", "@", TAB or CR, and not a plain number)
// gets an apostrophe in front. A line's first separator is the caller's to drop.
void AppendExportValue(std::string& line, std::string_view value, ExportFormat format);

// One line without its CR LF: the header when `record` is null, else the record's values.
std::string ExportLine(const BookRecord* record, const ExportFieldSet& fields, ExportFormat format);

// The name of the program's data file in `folder` that `path` is, or "" when it is none of them.
// An existing file is compared as a file, so that links are caught.
std::string ProgramDataFileAt(const DataFolder& folder, const std::string& path);
// Why `path` may not be written as an export or a printed PDF: it is one of the program's own
// data files in `folder`. "" when it may.
std::string OwnDataFileRefusal(const DataFolder& folder, const std::string& path);
// Which files the Print window's "PDF file" refuses: the data files.
PdfFilePlace PdfFilePlaceIn(const DataFolder& folder);

// Writes the header and one line per id text, each looked up in the booklist (an id that is not
// there gives an empty record). The file replaces an earlier one only when complete. A path that
// is one of the program's own data files is refused and nothing is written.
FileWriteResult WriteExportFile(const Booklist& booklist, const DataFolder& folder,
                                const std::string& path, ExportFormat format,
                                const ExportFieldSet& fields,
                                const std::vector<std::string>& rowIds);
// The same for entries given as their packed lines from the booklist table, which spares a
// lookup per row; an empty line stands for an absent entry.
FileWriteResult WriteExportLines(const DataFolder& folder, const std::string& path,
                                 ExportFormat format, const ExportFieldSet& fields,
                                 const std::vector<std::string_view>& packedLines);
// The same for rows already made by ExportRowMaker with these fields and format: `rowAt` gives
// each of the `rowCount` rows in turn.
FileWriteResult WriteExportRows(const DataFolder& folder, const std::string& path,
                                ExportFormat format, const ExportFieldSet& fields,
                                std::size_t rowCount,
                                const std::function<std::string_view(std::size_t)>& rowAt);

// Makes the export's rows of entries from their packed lines, for a caller that walks the lines
// and would rather make each row while the line is at hand.
class ExportRowMaker {
  public:
    ExportRowMaker(const ExportFieldSet& fields, ExportFormat format);
    // How many leading pieces of a packed line Append reads.
    int FieldsNeeded() const { return needed_; }
    // About how long a row is at most, to make room for rows ahead.
    std::size_t RowBytes() const;
    // Appends the row of an entry, with its CR LF, given its packed line and at least its
    // FieldsNeeded() leading pieces; an empty line stands for an absent entry.
    void Append(std::string& out, std::string_view packed, PackedFields& entry);

  private:
    // The band of a level text, as LevelBandOf gives it, from the last few texts met: a booklist
    // names a handful of levels, and the export asks for one per line.
    class LevelBands {
      public:
        char Of(std::string_view level);

      private:
        struct Known {
            std::string_view level;
            char band = 0;
        };
        std::array<Known, 8> known_{};
        std::size_t next_ = 0;
    };

    ExportFieldSet fields_;
    ExportFormat format_;
    int needed_;
    LevelBands bands_;
};
