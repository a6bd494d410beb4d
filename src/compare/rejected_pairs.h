#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "base/text_table.h"
#include "booklist/data_folder.h"

// A booklist entry and a catalogue record that the librarian said are no match, kept in
// "Rejected.tul" (a line `ID<TAB>001<TAB>003<TAB>title key<TAB>surname key` each) so that later
// comparisons do not match them again. A record is the pair's when its non-empty 001 and its 003
// are the pair's, or, when both 001s are empty, when both keys are.
struct RejectedPair {
    std::string id;
    std::string controlNumber;  // 001
    std::string controlSource;  // 003
    std::string titleKey;
    std::string surnameKey;
    bool operator==(const RejectedPair&) const = default;
};

// The folder's pairs; none when there is no file. Lines that are not pairs are passed over.
std::vector<RejectedPair> ReadRejectedPairs(const DataFolder& folder);
std::string RejectedPairsText(const std::vector<RejectedPair>& pairs);

// The pairs of a comparison, looked up by entry.
class RejectedPairs {
  public:
    explicit RejectedPairs(const std::vector<RejectedPair>& pairs = {});
    bool empty() const { return byId_.empty(); }
    bool HasEntry(std::string_view id) const { return byId_.contains(id); }
    // Whether the entry `id` and the record of these fields and keys make a rejected pair.
    bool Rejects(std::string_view id, std::string_view controlNumber,
                 std::string_view controlSource, std::string_view titleKey,
                 std::string_view surnameKey) const;

  private:
    TextTable<std::vector<RejectedPair>> byId_;
};
