#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compare/marc_reader.h"
#include "compare/marcxml_reader.h"

// The records of a catalogue file in either form a library system exports, ISO 2709 or
// MARCXML, told apart by the file's first bytes; each record comes as ISO 2709 bytes.
class CatalogueReader {
  public:
    explicit CatalogueReader(std::FILE* file);

    // Reads on to the first record in earnest, so that a file holding none (an empty file, a
    // spreadsheet, a PDF) can be refused before anything changes. The records the search went
    // through come first from Next all the same.
    bool FindFirstRecord();
    // The next record's bytes, valid until the next call; false at the end. ISO 2709 records are
    // read right here, since this runs for every record of the catalogue.
    bool Next(std::string_view& record) {
        if (xml_ || nextPassed_ < passed_.size()) return NextOther(record);
        // Line breaks and NUL bytes after the last record read as an empty one, which is none.
        while (!reader_->AtEnd()) {
            record = NextMarcRecord(*reader_, spill_);
            if (!record.empty()) return true;
        }
        return false;
    }
    // Bytes of the file read so far.
    std::int64_t Position() const { return xml_ ? xml_->Position() : reader_->Position(); }
    // The line at which a MARCXML file stopped being well-formed: the records before it were
    // read, and none after. 0 for a well-formed file and for ISO 2709.
    long BrokenAtLine() const { return xml_ ? xml_->BrokenAtLine() : 0; }

  private:
    // A record the search for the first one went through, or one of a MARCXML file.
    bool NextOther(std::string_view& record);

    std::FILE* file_;
    std::optional<MarcFileReader> reader_;
    std::unique_ptr<MarcXmlReader> xml_;  // for a MARCXML file
    std::vector<std::string> passed_;     // records read before they were asked for
    std::size_t nextPassed_ = 0;
    std::string spill_;
};
