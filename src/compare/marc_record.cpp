#include "compare/marc_record.h"

std::string_view CatalogueRecord::AdoptBytes(std::string_view bytes) {
    ClearFields();
    bytes_.assign(bytes);
    return bytes_;
}
