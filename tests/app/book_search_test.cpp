#include "app/book_search.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/list_rows.h"
#include "booklist/booklist.h"
#include "support/test_folder.h"
#include "support/test_services.h"

namespace {

// What the Find field keeps of the sample booklist, all five filters open, in the list's order.
TEST(BookSearch, KeepsEntriesHoldingEveryWord) {
    TestFolder folder;
    for (const char* name : {"Booklist.tul", "TULVersion.txt"})
        std::filesystem::copy_file(std::filesystem::path(TALLYLEAF_SAMPLES) / name, name);
    TestServices services;
    Booklist booklist = LoadBooklist(CurrentDataFolder(), services);
    // The sample is plain ASCII: one entry brings the accents and the windows-1252 quotes.
    BookRecord accented;
    accented.id = 9001;
    accented.title = "\xC6sop\x92s Fables for \xC9lo\xEFse";
    accented.author =
        "Stra\xDF"
        "e, J\xF6rg";
    accented.isbn = "978-1-86-3950";
    booklist.StoreRecord(accented);

    const struct {
        const char* search;
        std::size_t count;
        std::vector<std::string> first;  // the first ids listed
    } cases[] = {
        {"quokka", 15, {"1399", "1876", "2109", "1496"}},
        {"  QUOKKA   bram ", 2, {"1399", "1876"}},
        {"1003", 1, {"1003"}},
        {"9789528830366", 1, {"1003"}},
        {"978-0-5756", 1, {"1013"}},
        {"978 9 5288", 2, {}},
        {"eddisford wren book", 3, {"1003", "1011", "1013"}},
        {"aesop's eloise", 1, {"9001"}},
        {"STRASSE jorg 186395", 1, {"9001"}},
        {"\xC9LO\xCF", 1, {"9001"}},
        {"dragon zzz", 0, {}},
        {"", 331, {}},
    };
    FilterState filters;
    filters.matchFilter = MatchFilterEverything;
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.search);
        filters.searchText = expected.search;
        const std::vector<std::string_view> kept = StageBookList(booklist, filters, AustralianAll);
        EXPECT_EQ(kept.size(), expected.count);
        for (std::size_t i = 0; i < expected.first.size() && i < kept.size(); ++i)
            EXPECT_EQ(std::string(SplitPackedLine(kept[i])[FieldId]), expected.first[i]);
    }
}

}  // namespace
