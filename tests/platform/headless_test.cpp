#include "platform/headless/headless.h"

#include <gtest/gtest.h>

#include "platform/pause.h"
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

TEST(HeadlessProgress, UpdatesAfterCloseDoNothing) {
    headless::Reset();
    OpenProgressWindow("T", "C", 0, 100, true);
    SetProgressPosition(40);
    SetProgressCounter("4  1");
    CloseProgressWindow();
    SetProgressPosition(90);
    SetProgressCounter("9  9");
    EXPECT_FALSE(headless::Progress().open);
    EXPECT_EQ(headless::Progress().position, 40);
    EXPECT_EQ(headless::Progress().counter, "4  1");
}

TEST(HeadlessPause, CountsWithoutSleeping) {
    headless::Reset();
    PauseWithEvents(1000);
    PauseWithEvents(1000);
    EXPECT_EQ(headless::PausedMilliseconds(), 2000);
}
