#include "compare/author_books.h"

#include <bit>

void AuthorBookTable::Clear() {
    texts_.clear();
    authors_.clear();
    places_.clear();
    books_.clear();
    slots_.clear();
}

void AuthorBookTable::AddAuthor(std::string_view surname, std::uint64_t hash) {
    authors_.push_back({hash, static_cast<std::uint32_t>(texts_.size()),
                        static_cast<std::uint32_t>(surname.size()),
                        static_cast<std::uint32_t>(places_.size()), 0});
    texts_ += surname;
}

void AuthorBookTable::AddBook(std::string_view idText, std::string_view titleKey, int levelBand) {
    const auto keyAt = static_cast<std::uint32_t>(texts_.size());
    texts_ += titleKey;
    const auto idAt = static_cast<std::uint32_t>(texts_.size());
    texts_ += idText;
    places_.push_back({idAt, static_cast<std::uint32_t>(idText.size()), keyAt,
                       static_cast<std::uint32_t>(titleKey.size()), levelBand});
    ++authors_.back().bookCount;
}

std::string_view AuthorBookTable::SurnameOf(const Author& author) const {
    return std::string_view(texts_).substr(author.surnameAt, author.surnameLength);
}

std::size_t AuthorBookTable::SlotOf(std::string_view surname, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t taken = slots_[slot].author;
        if (taken == 0) return slot;
        const Author& author = authors_[taken - 1];
        if (author.hash == hash && SurnameOf(author) == surname) return slot;
    }
}

void AuthorBookTable::Finish() {
    // The texts no longer move, so the entries can point into them.
    const std::string_view texts = texts_;
    books_.clear();
    books_.reserve(places_.size());
    for (const BookPlace& place : places_) {
        books_.push_back({texts.substr(place.idAt, place.idLength),
                          texts.substr(place.keyAt, place.keyLength), place.levelBand});
    }
    // At most half the slots are taken, so that a probe seldom goes past its first slot.
    slots_.assign(std::bit_ceil(std::max<std::size_t>(2 * authors_.size(), 1024)), Slot{});
    for (std::size_t i = 0; i < authors_.size(); ++i) {
        const Author& author = authors_[i];
        slots_[SlotOf(SurnameOf(author), author.hash)] = {static_cast<std::uint32_t>(i + 1),
                                                          author.surnameAt, author.firstBook};
    }
}

std::span<const AuthorBook> AuthorBookTable::Find(std::string_view surname,
                                                  std::uint64_t hash) const {
    if (slots_.empty()) return {};
    const std::uint32_t taken = slots_[SlotOf(surname, hash)].author;
    if (taken == 0) return {};
    const Author& author = authors_[taken - 1];
    return std::span<const AuthorBook>(books_).subspan(author.firstBook, author.bookCount);
}

void AuthorBookTable::Prefetch(std::uint64_t hash) const {
    if (slots_.empty()) return;
    const Slot& slot = slots_[hash & (slots_.size() - 1)];
    if (slot.author == 0) return;
    __builtin_prefetch(&authors_[slot.author - 1]);
    __builtin_prefetch(texts_.data() + slot.textsAt);
    __builtin_prefetch(books_.data() + slot.firstBook);
}
