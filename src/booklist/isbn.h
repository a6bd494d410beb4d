#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// ISBNs as the ISBN test compares them: the ISBN-13 of a value as written in a booklist or a
// catalogue record's 020 $a, which often carries a qualifier ("964-5620-16-3 (nid.)",
// "091145909X (v. 1)"). The value's leading run of digits, hyphens and X, hyphens dropped: ten
// characters stand for their ISBN-13 ("978", the first nine, a new check digit), thirteen digits
// for themselves; anything else is no ISBN. Check digits are not tested: a mistyped ISBN is the
// same mistake on both sides. 0 for no ISBN.
std::uint64_t Isbn13Number(std::string_view value);
// The same for an ISBN written in groups with spaces between them.
std::uint64_t Isbn13NumberOfGroups(std::string_view value);

// The ISBN-13s of an ISBN column as written, each followed by ";": the column is split at ";" and
// ","; an item that is no ISBN with its spaces closed up is split at its spaces too.
void AppendIsbnKeys(std::string_view column, std::string& out);
