#include "compare/marc_record.h"

#include <cstring>
#include <functional>

void CatalogueRecord::ClearFields() {
    store_.clear();
    spans_.clear();
    raw_.clear();
    count_ = 0;
    joined_ = true;
}

std::string_view CatalogueRecord::AdoptBytes(std::string_view bytes) {
    ClearFields();
    bytes_.assign(bytes);
    joined_ = false;
    return bytes_;
}

void CatalogueRecord::AddAdoptedField(std::size_t tagAt, std::size_t contentAt,
                                      std::size_t contentLength) {
    raw_.push_back({tagAt, contentAt, contentLength});
    ++count_;
}

void CatalogueRecord::JoinFields() const {
    std::size_t total = 0;
    for (const RawSpan& raw : raw_)
        total += 3 + raw.length;
    store_.resize(total);
    spans_.resize(raw_.size());
    std::size_t offset = 0;
    for (std::size_t k = 0; k < raw_.size(); ++k) {
        const RawSpan& raw = raw_[k];
        std::memcpy(store_.data() + offset, bytes_.data() + raw.tag, 3);
        std::memcpy(store_.data() + offset + 3, bytes_.data() + raw.content, raw.length);
        spans_[k] = {offset, 3 + raw.length};
        offset += 3 + raw.length;
    }
    joined_ = true;
}

void CatalogueRecord::AppendField(std::string_view tag, std::string_view content) {
    if (!joined_) JoinFields();
    const std::size_t offset = store_.size();
    store_.append(tag).append(content);
    spans_.push_back({offset, tag.size() + content.size()});
    ++count_;
}

CatalogueRecord::Span CatalogueRecord::Store(std::string_view text) {
    const std::size_t offset = store_.size();
    const std::less<const char*> before;  // a total order, even between unrelated buffers
    const bool inStore =
        !before(text.data(), store_.data()) && before(text.data(), store_.data() + offset);
    if (inStore) {
        // A view into the store itself, which appending can move: copied first.
        const std::string copy(text);
        store_ += copy;
    } else {
        store_ += text;
    }
    return {offset, text.size()};
}

void CatalogueRecord::ReplaceField(std::size_t index, std::string_view text) {
    if (!joined_) JoinFields();
    spans_[index] = Store(text);
}

void CatalogueRecord::InsertField(std::size_t index, std::string_view text) {
    if (!joined_) JoinFields();
    const Span span = Store(text);
    spans_.insert(spans_.begin() + static_cast<std::ptrdiff_t>(index), span);
    ++count_;
}

void CatalogueRecord::RemoveField(std::size_t index) {
    if (!joined_) JoinFields();
    spans_.erase(spans_.begin() + static_cast<std::ptrdiff_t>(index));
    --count_;
}
