#include "platform/headless/headless.h"

#include <gtest/gtest.h>

#include "platform/progress.h"

TEST(HeadlessProgress, CancelArrivesAtThePresetPoll) {
    headless::Reset();
    headless::PresetCancelAtPoll(3);
    OpenProgressWindow("T", "C", 0, 100, true);
    EXPECT_EQ(PollProgressWindow(), 0);
    EXPECT_EQ(PollProgressWindow(), 0);
    EXPECT_EQ(PollProgressWindow(), ProgressCancelId);
    EXPECT_EQ(PollProgressWindow(), 0);
    CloseProgressWindow();
}

TEST(HeadlessProgress, WithoutCancelButtonNoCancelArrives) {
    headless::Reset();
    headless::PresetCancelAtPoll(1);
    OpenProgressWindow("T", "C", 0, 100, false);
    EXPECT_EQ(PollProgressWindow(), 0);
    CloseProgressWindow();
}
