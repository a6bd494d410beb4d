#include "platform/message_codes.h"

#include <gtest/gtest.h>

#include "platform/message.h"

TEST(MessageCodes, ButtonSetsIgnoreCase) {
    EXPECT_EQ(DecodeMessageCodes("yn", "", 0).buttons, MessageButtons::YesNo);
    EXPECT_EQ(DecodeMessageCodes("YNC", "", 0).buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(DecodeMessageCodes("oc", "", 0).buttons, MessageButtons::OkCancel);
    EXPECT_EQ(DecodeMessageCodes("Rc", "", 0).buttons, MessageButtons::RetryCancel);
    EXPECT_EQ(DecodeMessageCodes("ar", "", 0).buttons, MessageButtons::AbortRetryIgnore);
    EXPECT_EQ(DecodeMessageCodes("OK", "", 0).buttons, MessageButtons::Ok);
    EXPECT_EQ(DecodeMessageCodes("", "", 0).buttons, MessageButtons::Ok);
}

TEST(MessageCodes, IconIsAPieceOfTheIconText) {
    EXPECT_EQ(DecodeMessageCodes("", "i", 0).icon, MessageIcon::Information);
    EXPECT_EQ(DecodeMessageCodes("", "S", 0).icon, MessageIcon::Stop);
    EXPECT_EQ(DecodeMessageCodes("", "!", 0).icon, MessageIcon::Exclamation);
    EXPECT_EQ(DecodeMessageCodes("", "?!", 0).icon, MessageIcon::Question);
    EXPECT_EQ(DecodeMessageCodes("", "X", 0).icon, MessageIcon::None);
    EXPECT_EQ(DecodeMessageCodes("", "", 0).icon, MessageIcon::None);
}

TEST(MessageCodes, DefaultButtonAndResults) {
    EXPECT_EQ(DecodeMessageCodes("YNC", "", 3).defaultPosition, 3);
    EXPECT_EQ(DecodeMessageCodes("YN", "", 2).defaultPosition, 2);
    EXPECT_EQ(DecodeMessageCodes("YN", "", 7).defaultPosition, 1);
    EXPECT_EQ(DecodeMessageCodes("OK", "", 2).defaultPosition, 1);  // there is no second button
    EXPECT_EQ(MessageButtonResult(MessageButtons::YesNoCancel, 3), MessageCancel);
    EXPECT_EQ(MessageButtonResult(MessageButtons::AbortRetryIgnore, 1), MessageAbort);
    EXPECT_EQ(MessageButtonResult(MessageButtons::AbortRetryIgnore, 3), MessageIgnore);
    EXPECT_EQ(MessageButtonResult(MessageButtons::RetryCancel, 1), MessageRetry);
    EXPECT_EQ(MessageButtonResult(MessageButtons::YesNo, 2), MessageNo);
}
