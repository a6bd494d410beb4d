#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The booklist's author-plus-title keys with the id each stands for, for the exact test of a
// comparison: a flat table found by the hash of the joined key that the caller computes anyway
// for its filter, so that a lookup reads neighbouring bytes instead of following pointers. The
// key is the surname key immediately followed by the title key, so that "SMIT" and "HCAT" find
// what "SMITH" and "CAT" entered.
class AuthorTitleTable {
  public:
    void Clear();
    // Makes room for `keys` keys whose texts and ids come to about `textSize` bytes.
    void Reserve(std::size_t keys, std::size_t textSize);
    // Enters `idText` under the joined key, in place of an id entered before under it. `hash` is
    // the joined key's, the same for the same key in every call.
    void Enter(std::string_view surnameKey, std::string_view titleKey, std::uint64_t hash,
               std::string_view idText);
    // The id entered under the joined key; empty when there is none.
    std::string_view Find(std::string_view surname, std::string_view titleKey,
                          std::uint64_t hash) const;

    // Calls `visit` with every joined key and its hash.
    template <typename Visit>
    void ForEachKey(Visit&& visit) const {
        for (const Key& key : keys_)
            visit(std::string_view(texts_).substr(key.textAt, key.keyLength), key.hash);
    }

  private:
    struct Key {
        std::uint64_t hash;
        std::uint32_t textAt;  // in `texts_`: the joined key, then the id
        std::uint32_t keyLength;
        std::uint32_t idLength;
    };
    // The slot of the joined key: its own, or the empty one where it would go.
    std::size_t SlotOf(std::string_view surname, std::string_view titleKey,
                       std::uint64_t hash) const;
    void Grow();

    std::string texts_;
    std::vector<Key> keys_;
    // The hash's high half, which the slot's place does not tell: a probe that meets another key
    // moves on without reading it.
    static std::uint32_t HashTag(std::uint64_t hash) {
        return static_cast<std::uint32_t>(hash >> 32);
    }
    struct Slot {
        std::uint32_t hashTag = 0;
        std::uint32_t key = 0;  // 1 + the key's place in `keys_`; 0 when empty
    };
    std::vector<Slot> slots_;
};
