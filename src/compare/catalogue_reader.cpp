#include "compare/catalogue_reader.h"

#include <sys/stat.h>

CatalogueReader::CatalogueReader(std::FILE* file) : file_(file), reader_(std::in_place, file) {
    if (LooksLikeMarcXml(reader_->Available())) xml_ = std::make_unique<MarcXmlReader>(*reader_);
}

bool CatalogueReader::FindFirstRecord() {
    std::string_view record;
    if (xml_) {
        if (!xml_->Next(record)) return false;
        passed_.emplace_back(record);
        return true;
    }
    // A catalogue that can be read again is read from its start once more afterwards; the
    // records of a pipe that the search went through are kept to be compared first.
    struct stat status {};
    const bool again = ::fstat(::fileno(file_), &status) == 0 && S_ISREG(status.st_mode);
    while (!reader_->AtEnd()) {
        record = NextMarcRecord(*reader_, spill_);
        if (record.empty()) continue;
        if (!again) passed_.emplace_back(record);
        if (!IsMarcRecord(record)) continue;
        if (again) {
            passed_.clear();
            if (std::fseek(file_, 0, SEEK_SET) != 0) return false;
            reader_.emplace(file_);
        }
        return true;
    }
    return false;
}

bool CatalogueReader::NextOther(std::string_view& record) {
    if (nextPassed_ < passed_.size()) {
        record = passed_[nextPassed_++];
        return true;
    }
    passed_.clear();
    nextPassed_ = 0;
    if (xml_) return xml_->Next(record);
    return Next(record);
}
