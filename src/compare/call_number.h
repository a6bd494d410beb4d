#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Where a record's call number is taken from. Many libraries keep their shelf marks in fields of
// their own (090, 092, 099, 852, 952, 900) or the Library of Congress's 050 instead of the Dewey
// 082, and the librarian chooses which come first.
enum class CallNumberOrder {
    DeweyFirst,  // 082, then the library's own fields
    LocalFirst,  // the library's own fields, then 082
    DeweyOnly,   // 082 only
};

// "dewey-first", "local-first" or "dewey-only", as the command line and "Settings.txt" name them.
const char* CallNumberOrderName(CallNumberOrder order);
std::optional<CallNumberOrder> CallNumberOrderFromName(std::string_view name);

// Whether a tag (as a number) is one of the fields besides 082 that may give the call number.
bool IsOtherCallNumberTag(std::int32_t tag);

// The call-number texts of one record's fields other than 082: for each tag, the first field
// whose text, trimmed, is not empty. Reused from record to record.
class OtherCallNumbers {
  public:
    void Clear();
    // Takes one field of an IsOtherCallNumberTag tag, given its subfield area.
    void Take(std::int32_t tag, std::string_view area);
    // Replaces `callNumber`, which holds what the 082 fields gave, by the first text that the
    // order finds; the 082's text stands whenever the order reaches it and it is not blank.
    void ChooseInto(std::string& callNumber, CallNumberOrder order) const;

  private:
    static constexpr std::size_t Tags = 7;
    std::array<std::string, Tags> texts_;
    std::array<bool, Tags> given_{};
};
