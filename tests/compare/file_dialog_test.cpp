#include "platform/file_dialog.h"

#include <gtest/gtest.h>

#include "platform/headless/file_dialog.h"

TEST(HeadlessFileDialog, GivesThePresetAnswersInOrderThenCancels) {
    headless::ResetFileDialog();
    headless::PresetChosenFile("/data/catalogue.mrc");
    headless::PresetChosenFile("");
    EXPECT_EQ(ChooseFile("Open file", "*.MRC", "MRC", "MARC | *.MRC ||"), "/data/catalogue.mrc");
    EXPECT_EQ(ChooseFile("Open file", "*.MRC", "MRC", "MARC | *.MRC ||"), "");
    EXPECT_EQ(ChooseFile("Other", "x.txt", "TXT", ""), "");
    ASSERT_EQ(headless::FileRequests().size(), 3u);
    EXPECT_EQ(headless::FileRequests()[0].title, "Open file");
    EXPECT_EQ(headless::FileRequests()[0].defaultName, "*.MRC");
    EXPECT_EQ(headless::FileRequests()[0].defaultExtension, "MRC");
    EXPECT_EQ(headless::FileRequests()[2].filter, "");
    headless::ResetFileDialog();
    EXPECT_TRUE(headless::FileRequests().empty());
}
