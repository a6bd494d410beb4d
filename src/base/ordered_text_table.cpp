#include "base/ordered_text_table.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace {
std::uint64_t HashOf(std::string_view key) {
    return std::hash<std::string_view>{}(key);
}
std::uint32_t CheckOf(std::uint64_t hash) {
    return static_cast<std::uint32_t>(hash >> 32);
}
}  // namespace

void OrderedTextTable::clear() {
    entries_.clear();
    slots_.clear();
}

void OrderedTextTable::reserve(std::size_t count) {
    entries_.reserve(count);
    // At most half the slots are taken, so that a probe seldom goes past its first slot.
    if (2 * count > slots_.size()) Rebuild(std::bit_ceil(2 * count));
}

std::size_t OrderedTextTable::SlotOf(std::string_view key, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    const std::uint32_t check = CheckOf(hash);
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot& at = slots_[slot];
        if (at.entry == 0) return slot;
        if (at.check == check && entries_[at.entry - 1].first == key) return slot;
    }
}

void OrderedTextTable::Rebuild(std::size_t slotCount) {
    slots_.assign(std::max<std::size_t>(slotCount, 16), Slot{});
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::uint64_t hash = HashOf(entries_[i].first);
        slots_[SlotOf(entries_[i].first, hash)] = {static_cast<std::uint32_t>(i + 1),
                                                   CheckOf(hash)};
    }
}

const std::string* OrderedTextTable::Find(std::string_view key) const {
    if (slots_.empty()) return nullptr;
    const Slot& slot = slots_[SlotOf(key, HashOf(key))];
    return slot.entry == 0 ? nullptr : &entries_[slot.entry - 1].second;
}

std::string* OrderedTextTable::Find(std::string_view key) {
    return const_cast<std::string*>(std::as_const(*this).Find(key));
}

void OrderedTextTable::Prefetch(std::string_view key) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[HashOf(key) & (slots_.size() - 1)]);
}

std::pair<std::string*, bool> OrderedTextTable::InsertOrAssign(std::string key, std::string value) {
    if (2 * (entries_.size() + 1) > slots_.size()) Rebuild(2 * slots_.size());
    const std::uint64_t hash = HashOf(key);
    Slot& slot = slots_[SlotOf(key, hash)];
    if (slot.entry != 0) {
        std::string& stored = entries_[slot.entry - 1].second;
        stored = std::move(value);
        return {&stored, false};
    }
    entries_.emplace_back(std::move(key), std::move(value));
    slot = {static_cast<std::uint32_t>(entries_.size()), CheckOf(hash)};
    return {&entries_.back().second, true};
}
