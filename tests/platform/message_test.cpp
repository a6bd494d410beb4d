#include "platform/message.h"

#include <gtest/gtest.h>

TEST(MessageButtons, AnswersAndDefaultPositions) {
    using B = MessageButtons;
    using A = MessageAnswer;
    EXPECT_EQ(MessageButtonAnswer(B::YesNoCancel, 3), A::Cancel);
    EXPECT_EQ(MessageButtonAnswer(B::AbortRetryIgnore, 1), A::Abort);
    EXPECT_EQ(MessageButtonAnswer(B::AbortRetryIgnore, 3), A::Ignore);
    EXPECT_EQ(MessageButtonAnswer(B::RetryCancel, 1), A::Retry);
    EXPECT_EQ(MessageButtonAnswer(B::YesNo, 2), A::No);
    // A position the set does not have is its first button's.
    EXPECT_EQ(MessageButtonAnswer(B::YesNo, 3), A::Yes);
    EXPECT_EQ(MessageButtonAnswer(B::Ok, 2), A::Ok);
    EXPECT_EQ(DefaultButtonPosition(B::YesNoCancel, 3), 3);
    EXPECT_EQ(DefaultButtonPosition(B::YesNo, 7), 1);
    EXPECT_EQ(DefaultButtonPosition(B::OkCancel, 0), 1);
}
