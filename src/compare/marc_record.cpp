#include "compare/marc_record.h"

void CatalogueRecord::ClearFields() {
    store_.clear();
    spans_.clear();
}

void CatalogueRecord::AppendField(std::string_view tag, std::string_view content) {
    const auto offset = store_.size();
    store_.append(tag).append(content);
    spans_.push_back({offset, tag.size() + content.size()});
}

CatalogueRecord::Span CatalogueRecord::Store(std::string_view text) {
    // `text` may be a view into the store itself, which appending can move.
    const std::string copy(text);
    const auto offset = store_.size();
    store_ += copy;
    return {offset, copy.size()};
}

void CatalogueRecord::ReplaceField(std::size_t index, std::string_view text) {
    spans_[index] = Store(text);
}

void CatalogueRecord::InsertField(std::size_t index, std::string_view text) {
    const Span span = Store(text);
    spans_.insert(spans_.begin() + static_cast<std::ptrdiff_t>(index), span);
}
