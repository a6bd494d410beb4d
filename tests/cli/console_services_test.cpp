#include "cli/console_services.h"

#include <gtest/gtest.h>

#include "support/test_folder.h"

// A command's own lines are all it prints: the console services show nothing, wait for nothing
// and answer as the default button would. Progress is drawn only on a terminal, which a captured
// stderr is not.
TEST(ConsoleServices, ShowNothingAndAnswerWithoutWaiting) {
    TestFolder folder;
    WriteFile("V.txt", "kept");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    for (const auto progress :
         {ConsoleServices::Progress::Hidden, ConsoleServices::Progress::OnTerminal}) {
        ConsoleServices console(progress);
        console.OpenProgressWindow("Booklist", "Reading data...", 0, 100, true);
        console.SetProgressPosition(50);
        EXPECT_EQ(console.PollProgressWindow(), 0);
        console.CloseProgressWindow();
        EXPECT_EQ(
            console.ShowMessage("Compare", "Text", MessageButtons::YesNo, MessageIcon::Question, 2),
            MessageAnswer::No);
        EXPECT_EQ(
            console.ShowMessage("Compare", "Text", MessageButtons::Ok, MessageIcon::Information),
            MessageAnswer::Ok);
        EXPECT_EQ(console.ChooseFile("Open file", "*.MRC", "MRC", "All | * ||"), "");
        EXPECT_FALSE(console.DownloadToFile("http://127.0.0.1:9/V.txt", "V.txt", {}));
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(ReadFile("V.txt"), "kept");
}
