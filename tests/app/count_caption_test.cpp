#include "app/count_caption.h"

#include <gtest/gtest.h>

namespace {

TEST(CountCaption, SaysHowManyOfTheListedRowsAreShown) {
    const struct {
        std::size_t shown, listed;
        const char* caption;
    } cases[] = {
        {0, 0, "0 books"},           {1, 1, "1 book"},         {999, 999, "999 books"},
        {5000, 5000, "5,000 books"}, {1, 32, "1 of 32 books"}, {1234, 5000, "1,234 of 5,000 books"},
        {0, 1, "0 of 1 book"},       {0, 2, "0 of 2 books"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CountCaption(c.shown, c.listed), c.caption) << c.shown << " " << c.listed;
}

}  // namespace
