#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One booklist entry as the title test of a comparison needs it; the texts are held by the table.
struct AuthorBook {
    std::string_view idText;
    std::string_view titleKey;
    int levelBand = 4;
    std::uint64_t titlePairs = 0;  // KeyPairBits of the title key
};

// The booklist's entries by surname key, for the title test. Most records of a catalogue by a
// booklist author come here, so the table is flat and found by a hash of the surname that the
// caller has computed already for its filters, and a surname's texts and entries lie side by
// side: a lookup reads a few neighbouring bytes instead of following pointers across memory.
class AuthorBookTable {
  public:
    void Clear();
    // Makes room for `entries` entries.
    void Reserve(std::size_t entries);
    // Adds an entry under `surname`, after those added under it before; when `unlessListed`, an
    // entry whose id the surname lists already is left out. `hash` is the surname's hash, the
    // same for the same surname in every call. The texts are copied by Finish: they must stay in
    // place until then.
    void Add(std::string_view surname, std::uint64_t hash, std::string_view idText,
             std::string_view titleKey, int levelBand, bool unlessListed);
    // Makes what was added ready to be found. Nothing is added after.
    void Finish();

    // The entries of `surname` in the order added; empty when it has none.
    std::span<const AuthorBook> Find(std::string_view surname, std::uint64_t hash) const;
    // Asks the processor to fetch what a Find of this hash will read, so that the work done
    // between the two covers the wait for memory.
    void Prefetch(std::uint64_t hash) const;

  private:
    struct Author {
        std::uint64_t hash;
        std::string_view surname;  // the caller's until Finish, then in `texts_`
        std::uint32_t firstBook;   // in `added_` until Finish, then in `books_`
        std::uint32_t lastBook;    // in `added_`, until Finish
        std::uint32_t bookCount;
        std::uint32_t textsAt;  // in `texts_`, from Finish
    };
    struct AddedBook {
        AuthorBook book;         // with the caller's texts
        std::uint32_t nextBook;  // the surname's next entry in `added_`; 0 for none
    };
    // The slot of `surname`: its author's, or the empty one where it would go.
    std::size_t SlotOf(std::string_view surname, std::uint64_t hash) const;
    // Enters every author in `slotCount` slots, a power of two at least twice the authors, so
    // that a probe seldom goes past its first slot.
    void Rehash(std::size_t slotCount);

    std::string texts_;  // each surname followed by its entries' title keys and ids
    std::vector<Author> authors_;
    std::vector<AddedBook> added_;
    std::vector<AuthorBook> books_;
    struct Slot {
        std::uint32_t author;  // 1 + the author's place in `authors_`; 0 when empty
        // The hash's high half, which the slot's place does not tell: a probe that meets another
        // surname moves on without reading it.
        std::uint32_t hashTag;
        // Where the author's texts and entries begin, and how many, from Finish.
        std::uint32_t textsAt;
        std::uint32_t firstBook;
        std::uint32_t bookCount;
    };
    std::vector<Slot> slots_;
};
