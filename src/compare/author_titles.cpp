#include "compare/author_titles.h"

#include <algorithm>

namespace {
constexpr std::size_t FewestSlots = 1024;
}

void AuthorTitleTable::Clear() {
    texts_.clear();
    keys_.clear();
    slots_.clear();
}

std::size_t AuthorTitleTable::SlotOf(std::string_view surname, std::string_view titleKey,
                                     std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    const auto tag = HashTag(hash);
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot taken = slots_[slot];
        if (taken.key == 0) return slot;
        // Most probes end here, on the slot alone, without reading the key's text.
        if (taken.hashTag != tag) continue;
        const Key& key = keys_[taken.key - 1];
        if (key.hash != hash || key.keyLength != surname.size() + titleKey.size()) continue;
        const std::string_view joined = std::string_view(texts_).substr(key.textAt, key.keyLength);
        if (joined.starts_with(surname) && joined.ends_with(titleKey)) return slot;
    }
}

void AuthorTitleTable::Grow() {
    slots_.assign(std::max(FewestSlots, 2 * slots_.size()), Slot{});
    const std::string_view texts = texts_;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        const Key& key = keys_[i];
        slots_[SlotOf(texts.substr(key.textAt, key.keyLength), {}, key.hash)] = {
            HashTag(key.hash), static_cast<std::uint32_t>(i + 1)};
    }
}

void AuthorTitleTable::Reserve(std::size_t keys, std::size_t textSize) {
    keys_.reserve(keys);
    texts_.reserve(textSize);
    while (2 * keys > slots_.size())
        Grow();
}

void AuthorTitleTable::Enter(std::string_view surnameKey, std::string_view titleKey,
                             std::uint64_t hash, std::string_view idText) {
    // At most half the slots are taken, so that a probe seldom goes past its first slot.
    if (2 * (keys_.size() + 1) > slots_.size()) Grow();
    Slot& slot = slots_[SlotOf(surnameKey, titleKey, hash)];
    if (slot.key != 0) {
        Key& key = keys_[slot.key - 1];
        const std::string_view entered =
            std::string_view(texts_).substr(key.textAt + key.keyLength, key.idLength);
        if (entered == idText) return;
        // A later entry's id: the key is written again at the end with it.
        key.textAt = static_cast<std::uint32_t>(texts_.size());
        texts_.append(surnameKey).append(titleKey).append(idText);
        key.idLength = static_cast<std::uint32_t>(idText.size());
        return;
    }
    keys_.push_back({hash, static_cast<std::uint32_t>(texts_.size()),
                     static_cast<std::uint32_t>(surnameKey.size() + titleKey.size()),
                     static_cast<std::uint32_t>(idText.size())});
    texts_.append(surnameKey).append(titleKey).append(idText);
    slot = {HashTag(hash), static_cast<std::uint32_t>(keys_.size())};
}

std::string_view AuthorTitleTable::Find(std::string_view surname, std::string_view titleKey,
                                        std::uint64_t hash) const {
    if (slots_.empty()) return {};
    const std::uint32_t taken = slots_[SlotOf(surname, titleKey, hash)].key;
    if (taken == 0) return {};
    const Key& key = keys_[taken - 1];
    return std::string_view(texts_).substr(key.textAt + key.keyLength, key.idLength);
}
