#include "app/count_caption.h"

#include <gtest/gtest.h>

TEST(CountCaption, SaysHowManyOfTheListedRowsAreShown) {
    const std::tuple<std::size_t, std::size_t, const char*> cases[] = {
        {0, 0, "0 books"},        {1, 1, "1 book"},      {5000, 5000, "5,000 books"},
        {1, 32, "1 of 32 books"}, {0, 1, "0 of 1 book"}, {1234, 5000, "1,234 of 5,000 books"}};
    for (const auto& [shown, listed, caption] : cases)
        EXPECT_EQ(CountCaption(shown, listed), caption);
}
