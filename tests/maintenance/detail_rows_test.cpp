#include "maintenance/detail_rows.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct LayoutCase {
    const char* name;
    BookRecord record;
    // Label, value top and value height of every row shown, top to bottom.
    std::vector<std::tuple<std::string, int, int>> rows;
};

void PrintTo(const LayoutCase& c, std::ostream* out) {
    *out << c.name;
}

BookRecord Entry(std::string isbn, std::string callNumber, std::string series,
                 std::string categories, std::string scis) {
    BookRecord r;
    r.id = 7;
    r.title = "Kites & Kestrels";
    r.author = "Ashcombe, Dacey";
    r.australianAuthor = "N";
    r.publisher = "Redgum";
    r.yearPublished = "2001";
    r.level = "Primary Years (3-5)";
    r.annotation = "Kites.";
    r.isbn = std::move(isbn);
    r.callNumber = std::move(callNumber);
    r.series = std::move(series);
    r.categories = std::move(categories);
    r.scisNumber = std::move(scis);
    return r;
}

class DetailRowsLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(DetailRowsLayout, SkipsEmptyOptionalRowsWithoutAdvance) {
    const LayoutCase& c = GetParam();
    std::vector<std::tuple<std::string, int, int>> laidOut;
    for (const DetailRow& row : LayOutDetailRows(c.record))
        laidOut.emplace_back(row.label, row.top, row.height);
    EXPECT_EQ(laidOut, c.rows);
}

const std::string Chars70(70, 'c');

INSTANTIATE_TEST_SUITE_P(Entries, DetailRowsLayout,
                         ::testing::Values(LayoutCase{"NoOptionalRows",
                                                      Entry("", "", "", "Adventure", ""),
                                                      {{"Book ID number:", 8, 20},
                                                       {"Title:", 30, 42},
                                                       {"Author:", 76, 20},
                                                       {"Australian author?", 98, 20},
                                                       {"Publisher:", 120, 20},
                                                       {"Level:", 142, 20},
                                                       {"Category:", 164, 18},
                                                       {"Format:", 186, 20},
                                                       {"Annotation:", 214, 270}}},
                                           LayoutCase{"SeventyCharacterCategoriesStayOnOneLine",
                                                      Entry("", "", "Sky", Chars70, ""),
                                                      {{"Book ID number:", 8, 20},
                                                       {"Title:", 30, 42},
                                                       {"Author:", 76, 20},
                                                       {"Australian author?", 98, 20},
                                                       {"Publisher:", 120, 20},
                                                       {"Level:", 142, 20},
                                                       {"Series:", 164, 20},
                                                       {"Category:", 186, 18},
                                                       {"Format:", 208, 20},
                                                       {"Annotation:", 236, 270}}},
                                           LayoutCase{"EveryRowAndLongCategories",
                                                      Entry("0 14 03 1234 x", "823 ASH", "Sky",
                                                            Chars70 + "c", "222"),
                                                      {{"Book ID number:", 8, 20},
                                                       {"Title:", 30, 42},
                                                       {"Author:", 76, 20},
                                                       {"Australian author?", 98, 20},
                                                       {"Publisher:", 120, 20},
                                                       {"ISBN:", 142, 20},
                                                       {"Library call number:", 164, 20},
                                                       {"Level:", 186, 20},
                                                       {"Series:", 208, 20},
                                                       {"Category:", 230, 42},
                                                       {"Format:", 274, 20},
                                                       {"SCIS number:", 296, 20},
                                                       {"Annotation:", 324, 270}}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DetailRows, PublisherRowNamesWhatThereIsAndShowsValuesAsStored) {
    struct Case {
        const char* publisher;
        const char* year;
        const char* label;
        const char* value;
    };
    const Case cases[] = {
        {"Tin Roof & Sons", "2019", "Publisher:", "Tin Roof & Sons, 2019"},
        {"Tin Roof & Sons", "", "Publisher:", "Tin Roof & Sons"},
        {"", "2019", "Published:", "2019"},
        {"", "", "Publisher:", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.publisher) + "|" + c.year);
        BookRecord record = Entry("", "", "", "", "");
        record.publisher = c.publisher;
        record.yearPublished = c.year;
        const DetailRow row = LayOutDetailRows(record)[4];
        EXPECT_EQ(row.label, c.label);
        EXPECT_EQ(row.value, c.value);
        EXPECT_EQ(row.height, 20);
    }
}

}  // namespace
