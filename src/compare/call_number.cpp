#include "compare/call_number.h"

#include <algorithm>

#include "base/named_values.h"
#include "base/text.h"
#include "compare/marc_record.h"

namespace {

constexpr std::array<const char*, 3> OrderNames = {"dewey-first", "local-first", "dewey-only"};

// The fields other than 082, in the order of `texts_`.
constexpr std::array<std::int32_t, 7> OtherTags = {92, 99, 90, 852, 952, 900, 50};
constexpr std::int32_t Dewey = 82;

constexpr std::array<std::int32_t, 8> DeweyFirstOrder = {82, 92, 99, 90, 852, 952, 900, 50};
constexpr std::array<std::int32_t, 8> LocalFirstOrder = {92, 99, 90, 852, 952, 900, 82, 50};

int SlotOf(std::int32_t tag) {
    const auto found = std::find(OtherTags.begin(), OtherTags.end(), tag);
    return found == OtherTags.end() ? -1 : static_cast<int>(found - OtherTags.begin());
}

// Adds a subfield's trimmed value after one space, unless it is empty.
void AppendValue(std::string& text, std::string_view value) {
    value = TrimSpaces(value);
    if (value.empty()) return;
    if (!text.empty()) text += ' ';
    text += value;
}

// The values of the subfields with one of `codes`, in field order; only the first of each code
// when `firstOnly`.
void CollectSubfields(std::string_view area, std::string_view codes, bool firstOnly,
                      std::string& text) {
    std::string taken;
    std::size_t at = 0;
    while (at <= area.size()) {
        std::size_t end = area.find(SubfieldDelimiter, at);
        if (end == std::string_view::npos) end = area.size();
        const std::string_view piece = area.substr(at, end - at);
        at = end + 1;
        if (piece.empty() || codes.find(piece[0]) == std::string_view::npos) continue;
        if (firstOnly) {
            if (taken.find(piece[0]) != std::string::npos) continue;
            taken += piece[0];
        }
        AppendValue(text, piece.substr(1));
    }
}

// The call-number text of one field. The LC-style fields give their class and then their item
// number: the first "a" then the first "b", whatever order they come in.
void FieldText(std::int32_t tag, std::string_view area, std::string& text) {
    text.clear();
    switch (tag) {
        case 90:
        case 92:
        case 50: {
            std::string item;
            CollectSubfields(area, "a", true, text);
            CollectSubfields(area, "b", true, item);
            AppendValue(text, item);
            break;
        }
        case 99:
            CollectSubfields(area, "a", false, text);
            break;
        case 852:
            CollectSubfields(area, "khim", false, text);
            break;
        case 952:
            CollectSubfields(area, "o", true, text);
            break;
        case 900:
            CollectSubfields(area, "a", true, text);
            break;
        default:
            break;
    }
}

}  // namespace

const char* CallNumberOrderName(CallNumberOrder order) {
    return NameOf(OrderNames, order);
}

std::optional<CallNumberOrder> CallNumberOrderFromName(std::string_view name) {
    return ValueNamed<CallNumberOrder>(OrderNames, name);
}

bool IsOtherCallNumberTag(std::int32_t tag) {
    switch (tag) {
        case 50:
        case 90:
        case 92:
        case 99:
        case 852:
        case 900:
        case 952:
            return true;
        default:
            return false;
    }
}

void OtherCallNumbers::Clear() {
    given_.fill(false);
}

void OtherCallNumbers::Take(std::int32_t tag, std::string_view area) {
    const int slot = SlotOf(tag);
    if (slot < 0 || given_[static_cast<std::size_t>(slot)]) return;
    std::string& text = texts_[static_cast<std::size_t>(slot)];
    FieldText(tag, area, text);
    given_[static_cast<std::size_t>(slot)] = !text.empty();
}

void OtherCallNumbers::ChooseInto(std::string& callNumber, CallNumberOrder order) const {
    if (order == CallNumberOrder::DeweyOnly) return;
    const auto& tags = order == CallNumberOrder::DeweyFirst ? DeweyFirstOrder : LocalFirstOrder;
    for (const std::int32_t tag : tags) {
        if (tag == Dewey) {
            if (!TrimSpaces(callNumber).empty()) return;
            continue;
        }
        const auto slot = static_cast<std::size_t>(SlotOf(tag));
        if (given_[slot]) {
            callNumber = texts_[slot];
            return;
        }
    }
}
