#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One booklist entry as the title test of a comparison needs it.
struct AuthorBook {
    std::string idText;
    std::string titleKey;
    int levelBand = 4;
};

// The booklist's entries by surname key, for the title test. Most records of a catalogue by a
// booklist author come here, so the table is flat and found by a hash of the surname that the
// caller has computed already for its filters: one probe into a small array, no hash of its own.
class AuthorBookTable {
  public:
    void Clear();
    // The entries of `surname`, an empty list made for it when it is new. `hash` is the
    // surname's hash, the same for the same surname in every call.
    std::vector<AuthorBook>& Add(std::string_view surname, std::uint64_t hash);
    // The entries of `surname`, or null when it has none.
    const std::vector<AuthorBook>* Find(std::string_view surname, std::uint64_t hash) const;

  private:
    struct Author {
        std::uint64_t hash;
        std::string surname;
        std::vector<AuthorBook> books;
    };
    // The slot of `surname`: its author's, or the empty one where it would go.
    std::size_t SlotOf(std::string_view surname, std::uint64_t hash) const;
    void Grow();

    std::vector<std::uint64_t> hashes_;    // per slot, the hash with its low bit set; 0 when empty
    std::vector<std::uint32_t> authorAt_;  // per slot, the author's place in `authors_`
    std::vector<Author> authors_;
};
