#include "platform/qt/display_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DisplayTextTest, EveryByteComesBackAsItWent) {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    const QString shown = ToDisplay(bytes);
    ASSERT_EQ(shown.size(), 256);
    EXPECT_EQ(shown[0x80], QChar(0x20AC));  // the euro sign, not a control character
    EXPECT_EQ(shown[0x81], QChar(0x81));    // undefined in the code page, kept as it is
    EXPECT_EQ(FromDisplay(shown), bytes);
}

}  // namespace
