#include "app/book_search.h"

#include <gtest/gtest.h>

#include "app/list_rows.h"
#include "booklist/booklist.h"
#include "support/test_services.h"

namespace {

// What the Find field keeps of the sample booklist, all five filters open, in the list's order.
TEST(BookSearch, KeepsEntriesHoldingEveryWord) {
    TestServices services;
    Booklist booklist = LoadBooklist(DataFolder(TALLYLEAF_SAMPLES), services);
    // The sample is plain ASCII: one entry brings the accents and the windows-1252 quotes.
    BookRecord accented;
    accented.id = 9001;
    accented.title = "\xC6sop\x92s Fables for \xC9lo\xEFse";
    accented.author = "Gro\xDF, J\xF6rg";
    accented.isbn = "978-1-86-3950";
    booklist.StoreRecord(accented);
    const std::tuple<const char*, std::size_t, std::string> cases[] = {
        // the search, how many entries it keeps, the first of them in the list's order
        {"quokka", 15, "1399"},
        {"  QUOKKA   bram ", 2, "1399"},
        {"9789528830366", 1, "1003"},
        {"1013 978-0-5756", 1, "1013"},  // its id and part of its ISBN
        {"aesop's eloise", 1, "9001"},
        {"GROSS jorg 186395", 1, "9001"},
        {"\xC9LO\xCF", 1, "9001"},
        {"dragon zzz", 0, ""},
        {"", 331, "1192"},
    };
    FilterState filters;
    filters.matchFilter = MatchFilterEverything;
    for (const auto& [search, count, first] : cases) {
        filters.searchText = search;
        const std::vector<std::string_view> kept = StageBookList(booklist, filters, AustralianAll);
        EXPECT_EQ(kept.size(), count) << search;
        EXPECT_EQ(kept.empty() ? "" : std::string(SplitPackedLine(kept[0])[FieldId]), first);
    }
}

}  // namespace
