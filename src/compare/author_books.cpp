#include "compare/author_books.h"

namespace {
// An empty slot holds 0, which no stored hash is.
std::uint64_t StoredHash(std::uint64_t hash) {
    return hash | 1;
}
}  // namespace

void AuthorBookTable::Clear() {
    hashes_.clear();
    authorAt_.clear();
    authors_.clear();
}

std::size_t AuthorBookTable::SlotOf(std::string_view surname, std::uint64_t hash) const {
    const std::uint64_t stored = StoredHash(hash);
    const std::size_t mask = hashes_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        if (hashes_[slot] == 0) return slot;
        if (hashes_[slot] == stored && authors_[authorAt_[slot]].surname == surname) return slot;
    }
}

void AuthorBookTable::Grow() {
    // At most half the slots are taken, so that a probe seldom goes past its first slot.
    const std::size_t slots = hashes_.empty() ? 1024 : hashes_.size() * 2;
    hashes_.assign(slots, 0);
    authorAt_.assign(slots, 0);
    for (std::size_t i = 0; i < authors_.size(); ++i) {
        const std::size_t slot = SlotOf(authors_[i].surname, authors_[i].hash);
        hashes_[slot] = StoredHash(authors_[i].hash);
        authorAt_[slot] = static_cast<std::uint32_t>(i);
    }
}

std::vector<AuthorBook>& AuthorBookTable::Add(std::string_view surname, std::uint64_t hash) {
    if ((authors_.size() + 1) * 2 > hashes_.size()) Grow();
    const std::size_t slot = SlotOf(surname, hash);
    if (hashes_[slot] != 0) return authors_[authorAt_[slot]].books;
    hashes_[slot] = StoredHash(hash);
    authorAt_[slot] = static_cast<std::uint32_t>(authors_.size());
    authors_.push_back({hash, std::string(surname), {}});
    return authors_.back().books;
}

const std::vector<AuthorBook>* AuthorBookTable::Find(std::string_view surname,
                                                     std::uint64_t hash) const {
    if (hashes_.empty()) return nullptr;
    const std::size_t slot = SlotOf(surname, hash);
    return hashes_[slot] == 0 ? nullptr : &authors_[authorAt_[slot]].books;
}
