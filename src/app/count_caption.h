#pragma once
#include <cstddef>
#include <string>

// The caption above the book list: "5,000 books", or "1,234 of 5,000 books" while rows are taken
// out with Delete, so that the number never claims more than the list shows. `listed` is what the
// filters and the search give, `shown` what is left of it.
std::string CountCaption(std::size_t shown, std::size_t listed);
