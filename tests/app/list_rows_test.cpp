#include "app/list_rows.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/text.h"
#include "booklist/booklist.h"

namespace {

BookRecord Book(int id, const std::string& author, const std::string& extra = "") {
    BookRecord r;
    r.id = id;
    r.title = "Title " + std::to_string(id);
    r.author = author;
    r.format = "Book";
    if (extra == "matched") r.matched = 1;
    return r;
}

FilterState Everything() {
    FilterState filters;
    filters.matchFilter = MatchFilterEverything;
    return filters;
}

class BookListLogic : public ::testing::Test {
  protected:
    void Add(BookRecord r) { booklist_.StoreRecord(r); }
    std::vector<int> ListedIds(const FilterState& filters, int australian = AustralianAll) const {
        std::vector<int> ids;
        for (const auto packed : StageBookList(booklist_, filters, australian)) {
            ids.push_back(UnpackBookRecord(packed).id);
        }
        return ids;
    }
    Booklist booklist_;
};

}  // namespace

TEST_F(BookListLogic, OrdersByAuthorPaddedThenByPackedLine) {
    Add(Book(98, "Smith, Jan"));
    Add(Book(1207, "Smith"));
    Add(Book(98000, "smith"));
    Add(Book(5, "Adams"));
    Add(Book(6, "SMITH, JAN"));
    // "Smith" padded with spaces sorts before "Smith, Jan"; equal authors (in any case) follow
    // their packed lines, which begin with the id as text, so 1207 before 98000.
    EXPECT_EQ(ListedIds(Everything()), (std::vector<int>{5, 1207, 98000, 6, 98}));
}

TEST_F(BookListLogic, AuthorsCompareOnTheirFirst100Characters) {
    const std::string longName(100, 'b');
    Add(Book(2, longName + "z"));
    Add(Book(1, longName + "a"));
    Add(Book(3, longName));
    // All three cut to the same 100 characters: the packed lines decide.
    EXPECT_EQ(ListedIds(Everything()), (std::vector<int>{1, 2, 3}));
}

// The sort holds the first bytes of each author as numbers; around where those end the order must
// still be that of the padded, folded authors, then of the lines.
TEST_F(BookListLogic, OrderAroundTheHeldAuthorBytesIsThatOfTheTexts) {
    const std::string base = "Brackenfold, Whispering";
    const std::vector<std::string> authors = {base,
                                              base + " ",
                                              base + "!",
                                              base + "\x1f",
                                              base + "a",
                                              base + "A",
                                              base + "  x",
                                              base.substr(0, 15),
                                              base.substr(0, 16),
                                              base.substr(0, 17),
                                              "brackenfold, w",
                                              base + std::string(80, ' ') + "z"};
    for (std::size_t i = 0; i < authors.size(); ++i)
        Add(Book(static_cast<int>(900 - i), authors[i]));
    const auto sortText = [](std::string_view packed) {
        std::string author(SplitPackedLine(packed)[FieldAuthor].substr(0, 100));
        author.resize(100, ' ');
        for (char& c : author)
            c = LowerAsciiChar(c);
        return author;
    };
    const std::vector<std::string_view> listed =
        StageBookList(booklist_, Everything(), AustralianAll);
    std::vector<std::string_view> expected = listed;
    std::sort(expected.begin(), expected.end(), [&](std::string_view a, std::string_view b) {
        const int order = sortText(a).compare(sortText(b));
        return order != 0 ? order < 0 : CompareIgnoreCase(a, b) < 0;
    });
    EXPECT_EQ(listed.size(), authors.size());
    EXPECT_EQ(listed, expected);
}

TEST_F(BookListLogic, MatchFilter) {
    Add(Book(1, "A", "matched"));
    Add(Book(2, "B"));
    FilterState filters = Everything();
    filters.matchFilter = MatchFilterMatched;
    EXPECT_EQ(ListedIds(filters), std::vector<int>{1});
    filters.matchFilter = MatchFilterNotMatched;
    EXPECT_EQ(ListedIds(filters), std::vector<int>{2});
    filters.matchFilter = MatchFilterEverything;
    EXPECT_EQ(ListedIds(filters), (std::vector<int>{1, 2}));
}

TEST_F(BookListLogic, AustralianFilterRemovesOnlyExactYOrN) {
    const std::vector<std::string> flags = {"Y", "N", "", "y", "Yes"};
    for (int i = 0; i < 5; ++i) {
        BookRecord r = Book(i + 1, std::string(1, char('A' + i)));
        r.australianAuthor = flags[i];
        Add(r);
    }
    EXPECT_EQ(ListedIds(Everything(), AustralianOnly), (std::vector<int>{1, 3, 4, 5}));
    EXPECT_EQ(ListedIds(Everything(), AustralianNon), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(ListedIds(Everything(), AustralianAll).size(), 5u);
}

TEST_F(BookListLogic, LevelFilterIsExactFormatAndCategoryAreSubstrings) {
    BookRecord mature = Book(1, "A");
    mature.level = "Mature";
    mature.format = "Audio book";
    mature.categories = "Martial arts; Sport";
    BookRecord small = Book(2, "B");
    small.level = "mature";
    small.format = "Ebook";
    small.categories = "History";
    Add(mature);
    Add(small);

    FilterState filters = Everything();
    filters.levelFilter = "Mature";
    EXPECT_EQ(ListedIds(filters), std::vector<int>{1});

    filters = Everything();
    filters.formatFilter = "Book";  // "Audio book" and "Ebook" both hold it
    EXPECT_EQ(ListedIds(filters), (std::vector<int>{1, 2}));
    filters.formatFilter = "audio";
    EXPECT_EQ(ListedIds(filters), std::vector<int>{1});

    filters = Everything();
    filters.categoryFilter = "Art";
    EXPECT_EQ(ListedIds(filters), std::vector<int>{1});
    filters.categoryFilter = "Nothing like it";
    EXPECT_TRUE(ListedIds(filters).empty());
}

// The desktop list builds its rows while it filters, in the table's order, and sorts afterwards:
// each row must still land where StageBookList puts its entry.
TEST_F(BookListLogic, StagedRowsAreTheRowsOfTheStagedEntriesInTheirOrder) {
    const std::vector<std::string> authors = {"Smith",    "adams", "SMITH", "Brown",
                                              "smith, J", "Adams", "",      "zed"};
    for (std::size_t i = 0; i < authors.size(); ++i) {
        BookRecord r = Book(static_cast<int>(1000 - i * 7), authors[i]);
        r.level = i % 2 ? "Mature" : "Early Years (R-2)";
        r.format = i % 3 ? "Ebook" : "";
        r.callNumber = i % 4 ? "F " + std::to_string(i) : (i ? "F\tTAB" : "");
        Add(r);
    }
    FilterState filters = Everything();
    for (const std::string level : {"All levels", "Mature"}) {
        filters.levelFilter = level;
        std::vector<std::string> expected;
        for (const auto packed : StageBookList(booklist_, filters, AustralianAll))
            expected.push_back(BookRowText(packed));
        const StagedBookRows staged = StageBookRows(booklist_, filters, AustralianAll);
        std::vector<std::string> rows;
        for (std::size_t i = 0; i < staged.rows.size(); ++i)
            rows.emplace_back(staged.Row(i));
        EXPECT_EQ(rows, expected) << level;
    }
}

TEST_F(BookListLogic, EmptyBooklistListsNothing) {
    EXPECT_TRUE(ListedIds(Everything()).empty());
}

TEST(BookRow, SixColumnsJoinedByLineFeeds) {
    BookRecord r;
    r.id = 42;
    r.title = "T";
    r.author = "A";
    r.callNumber = "F A";
    r.format = "Ebook";
    const std::vector<std::pair<std::string, std::string>> levels = {
        {"Early Years (R-2)", "R-2"},
        {"Primary Years (3-5)", "3-5"},
        {"Middle Years (6-9, Special)", "6-9"},
        {"Mature", "10-12"},
        {"", "10-12"}};
    for (const auto& [level, shown] : levels) {
        r.level = level;
        EXPECT_EQ(BookRowText(PackBookRecord(r)), "42\nT\nA\nF A\n" + shown + "\nEbook");
    }
}
