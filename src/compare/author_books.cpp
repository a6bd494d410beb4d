#include "compare/author_books.h"

#include <algorithm>
#include <bit>

#include "booklist/keys.h"

namespace {
constexpr std::size_t FewestSlots = 1024;
}

void AuthorBookTable::Clear() {
    texts_.clear();
    authors_.clear();
    added_.clear();
    books_.clear();
    slots_.clear();
}

void AuthorBookTable::Reserve(std::size_t entries) {
    authors_.reserve(entries);
    added_.reserve(entries + 1);
    // Room for as many authors as entries, so that adding never rehashes; Finish sizes the slots
    // to the authors there are.
    if (2 * entries > slots_.size()) Rehash(std::bit_ceil(2 * entries));
}

std::size_t AuthorBookTable::SlotOf(std::string_view surname, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot& taken = slots_[slot];
        if (taken.author == 0) return slot;
        // Most probes end here, on the slot alone; the surname's text is read for a candidate.
        if (taken.hashTag != tag) continue;
        const Author& author = authors_[taken.author - 1];
        if (author.hash == hash && author.surname == surname) return slot;
    }
}

void AuthorBookTable::Rehash(std::size_t slotCount) {
    slots_.assign(std::max(FewestSlots, slotCount), Slot{});
    for (std::size_t i = 0; i < authors_.size(); ++i) {
        const Author& author = authors_[i];
        Slot& slot = slots_[SlotOf(author.surname, author.hash)];
        slot.author = static_cast<std::uint32_t>(i + 1);
        slot.hashTag = static_cast<std::uint32_t>(author.hash >> 32);
    }
}

void AuthorBookTable::Add(std::string_view surname, std::uint64_t hash, std::string_view idText,
                          std::string_view titleKey, int levelBand, bool unlessListed) {
    // At most half the slots are taken.
    if (2 * (authors_.size() + 1) > slots_.size()) Rehash(2 * slots_.size());
    Slot& slot = slots_[SlotOf(surname, hash)];
    // Entry 0 of `added_` is never a surname's next, so 0 can end a list.
    if (added_.empty()) added_.push_back({});
    const auto place = static_cast<std::uint32_t>(added_.size());
    if (slot.author == 0) {
        authors_.push_back({hash, surname, place, place, 0, 0});
        slot.author = static_cast<std::uint32_t>(authors_.size());
        slot.hashTag = static_cast<std::uint32_t>(hash >> 32);
    } else {
        Author& author = authors_[slot.author - 1];
        if (unlessListed) {
            for (std::uint32_t i = author.firstBook; i != 0; i = added_[i].nextBook) {
                if (added_[i].book.idText == idText) return;
            }
        }
        added_[author.lastBook].nextBook = place;
        author.lastBook = place;
    }
    ++authors_[slot.author - 1].bookCount;
    added_.push_back({{idText, titleKey, levelBand, KeyPairBits(titleKey)}, 0});
}

void AuthorBookTable::Finish() {
    // Each surname's texts and entries are laid side by side, in the order of the surnames'
    // first entries; the texts no longer move after this, so the entries can point into them.
    std::size_t textSize = 0;
    for (const Author& author : authors_) {
        textSize += author.surname.size();
        for (std::uint32_t i = author.firstBook; i != 0; i = added_[i].nextBook)
            textSize += added_[i].book.idText.size() + added_[i].book.titleKey.size();
    }
    texts_.clear();
    texts_.reserve(textSize);
    books_.clear();
    books_.reserve(added_.size());
    const auto append = [&](std::string_view text) {
        const std::size_t at = texts_.size();
        texts_ += text;
        return std::string_view(texts_.data() + at, text.size());
    };
    for (Author& author : authors_) {
        author.textsAt = static_cast<std::uint32_t>(texts_.size());
        author.surname = append(author.surname);
        const auto firstBook = static_cast<std::uint32_t>(books_.size());
        for (std::uint32_t i = author.firstBook; i != 0; i = added_[i].nextBook) {
            const AuthorBook& book = added_[i].book;
            const std::string_view titleKey = append(book.titleKey);
            books_.push_back({append(book.idText), titleKey, book.levelBand, book.titlePairs});
        }
        author.firstBook = firstBook;
    }
    added_ = {};
    if (slots_.empty()) return;
    // Slots for the authors there are, at most half of them taken: a smaller table stays in the
    // cache better while the catalogue is read.
    const std::size_t fitting = std::max(FewestSlots, std::bit_ceil(2 * authors_.size()));
    if (fitting < slots_.size()) Rehash(fitting);
    for (Slot& slot : slots_) {
        if (slot.author == 0) continue;
        const Author& author = authors_[slot.author - 1];
        slot.textsAt = author.textsAt;
        slot.firstBook = author.firstBook;
        slot.bookCount = author.bookCount;
    }
}

std::span<const AuthorBook> AuthorBookTable::Find(std::string_view surname,
                                                  std::uint64_t hash) const {
    if (slots_.empty()) return {};
    const Slot& slot = slots_[SlotOf(surname, hash)];
    if (slot.author == 0) return {};
    return std::span<const AuthorBook>(books_).subspan(slot.firstBook, slot.bookCount);
}

void AuthorBookTable::Prefetch(std::uint64_t hash) const {
    if (slots_.empty()) return;
    const Slot& slot = slots_[hash & (slots_.size() - 1)];
    if (slot.author == 0 || slot.hashTag != static_cast<std::uint32_t>(hash >> 32)) return;
    __builtin_prefetch(&authors_[slot.author - 1]);
    __builtin_prefetch(texts_.data() + slot.textsAt);
    __builtin_prefetch(books_.data() + slot.firstBook);
}
