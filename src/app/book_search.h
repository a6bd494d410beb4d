#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "booklist/book_record.h"

// What the Find field keeps of the list: an entry stays when every space-separated word of the
// search occurs in its title, author, id or ISBN, without regard to case or accents. The ISBN is
// compared without its spaces and hyphens, as people type it either way.
class BookSearch {
  public:
    // `text` is booklist text (windows-1252 bytes), as the field gives it.
    explicit BookSearch(std::string_view text);

    // No words: every entry stays.
    bool Empty() const { return words_.empty(); }
    // Reads the id, title, author and ISBN of `entry`.
    bool Keeps(const PackedFields& entry) const;

  private:
    struct Word {
        std::string folded;
        std::string digits;  // without spaces and hyphens, for the ISBN
    };
    std::vector<Word> words_;
    // Reused from entry to entry, so that a search over the whole booklist allocates once.
    mutable std::string text_;
    mutable std::string isbn_;
};
