#include "maintenance/new_books.h"

#include <gtest/gtest.h>

#include "booklist/booklist.h"
#include "support/test_folder.h"

namespace {

class NewBooks : public ::testing::Test {
  protected:
    void SetUp() override {
        Store(7, "Possum Magic", "Fox, Mem", "Early Years (r-2)", "");
        Store(12, "The Hobbit", "Tolkien, J.R.R.", "Secondary", "F TOL");
        Store(33, "Matilda", "Dahl, Roald", "Primary Years (3-5)", "");
        Store(41, "Hatchet", "Paulsen, Gary", "Middle Years (6-9)", "F PAU");
    }
    void Store(int id, const std::string& title, const std::string& author,
               const std::string& level, const std::string& callNumber) {
        BookRecord book;
        book.id = id;
        book.title = title;
        book.author = author;
        book.level = level;
        book.callNumber = callNumber;
        booklist.StoreRecord(book);
    }
    std::vector<std::string> Rows(const std::string& file) const {
        WriteFile(NewBooksFileName, file);
        return ReadNewBookRows(booklist, NewBooksFileName);
    }
    Booklist booklist;

    TestFolder folder;
};

TEST_F(NewBooks, RowsOfTheKnownIdsInFileOrder) {
    // 10 ids of which 7 are known: unknown, padded and spaced ids are left out, a repeated id
    // counts twice, text after a tab is ignored, and every line end is one.
    const std::vector<std::string> rows =
        Rows("33\r\n7\n999\r12\tadded 2024\r\n007\r\n 41\r\n41\r\n7\r\n\r\n12 \r\n33\r\n12");
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "33\nMatilda\nDahl, Roald\n\n3-5",
                        "7\nPossum Magic\nFox, Mem\n\n0-2",
                        "12\nThe Hobbit\nTolkien, J.R.R.\nF TOL\nMature",
                        "41\nHatchet\nPaulsen, Gary\nF PAU\n6-9",
                        "7\nPossum Magic\nFox, Mem\n\n0-2",
                        "33\nMatilda\nDahl, Roald\n\n3-5",
                        "12\nThe Hobbit\nTolkien, J.R.R.\nF TOL\nMature",
                    }));
    EXPECT_EQ(NewBooksCaption(rows.size()), "TUL new books. 7 new entries");
    EXPECT_TRUE(Rows("1\r\n2\r\n").empty());
    EXPECT_EQ(NewBooksCaption(0), "TUL new books. 0 new entries");
}

TEST_F(NewBooks, FoundEntriesPastTheLimitAreLeftOut) {
    std::string file;
    for (std::size_t i = 0; i <= MaxNewBookRows; ++i)
        file += i % 2 ? "7\r\n" : "12\r\n";
    const std::vector<std::string> rows = Rows(file);
    ASSERT_EQ(rows.size(), MaxNewBookRows);
    EXPECT_EQ(rows.front().substr(0, 3), "12\n");
    EXPECT_EQ(rows.back().substr(0, 2), "7\n");
}

TEST(NewBooksWindowText, ServerHostNameIsTheHostAlone) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://books.example.edu/Tallyleaf/", "books.example.edu"},
        {"HTTP://books.example.edu:8080/a/b/", "books.example.edu:8080"},
        {"https://secure.example.edu/Tallyleaf/", "secure.example.edu"},
        {"Https://secure.example.edu", "secure.example.edu"},
        {"http://127.0.0.1:8765/", "127.0.0.1:8765"},
        {"books.example.edu/Tallyleaf/", "books.example.edu"},
    };
    for (const auto& [url, host] : cases)
        EXPECT_EQ(ServerHostName(url), host) << url;
}

}  // namespace
