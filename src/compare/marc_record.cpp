#include "compare/marc_record.h"

#include <cstring>

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

void CatalogueRecord::SetFields(std::string_view entries, const std::string_view* contents,
                                std::size_t count) {
    std::size_t total = 0;
    for (std::size_t k = 0; k < count; ++k)
        total += 3 + contents[k].size();
    store_.resize(total);
    spans_.resize(count);
    char* out = store_.data();
    std::size_t offset = 0;
    for (std::size_t k = 0; k < count; ++k) {
        std::memcpy(out + offset, entries.data() + k * 12, 3);
        std::memcpy(out + offset + 3, contents[k].data(), contents[k].size());
        spans_[k] = {offset, 3 + contents[k].size()};
        offset += 3 + contents[k].size();
    }
}
