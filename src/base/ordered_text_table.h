#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Texts under exact, case-sensitive text keys, kept in the order their keys were first entered
// and found through a flat index of their hashes. Walking the table reads the entries one after
// another, and a lookup probes a few neighbouring slots instead of following a chain of nodes
// across memory: the booklist is walked whole for every filtering and every save of the matches,
// and looked up for every match.
class OrderedTextTable {
  public:
    using Entry = std::pair<std::string, std::string>;  // key, value
    using const_iterator = std::vector<Entry>::const_iterator;
    using iterator = std::vector<Entry>::iterator;

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }
    iterator begin() { return entries_.begin(); }
    iterator end() { return entries_.end(); }

    void clear();
    // Makes room for `count` entries, so that entering them moves nothing.
    void reserve(std::size_t count);

    // The value under `key`; null when there is none. Valid until the next entry is added.
    const std::string* Find(std::string_view key) const;
    std::string* Find(std::string_view key);
    // Sets the value under `key`, entering the key at the end when it is new. Gives the stored
    // value and whether the key is new.
    std::pair<std::string*, bool> InsertOrAssign(std::string key, std::string value);
    // Asks for the slot where `key` is looked for, ahead of a lookup or an entry a while later:
    // with many entries the slots lie beyond the caches, and a wait for each would add up.
    void Prefetch(std::string_view key) const;

  private:
    struct Slot {
        std::uint32_t entry;  // 1 + the entry's place; 0 for an empty slot
        std::uint32_t check;  // the hash's high half, so that most other keys are passed by
    };
    // The slot of `key`: its own, or the empty one where it would go.
    std::size_t SlotOf(std::string_view key, std::uint64_t hash) const;
    void Rebuild(std::size_t slotCount);

    std::vector<Entry> entries_;
    std::vector<Slot> slots_;
};
