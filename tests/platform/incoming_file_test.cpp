#include "platform/incoming_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "base/replacing_file.h"
#include "support/test_folder.h"

namespace {

struct FinishCase {
    const char* name;
    int status;
    std::int64_t declaredLength;
    const char* transferError;
    std::int64_t failAfter;  // the disk fills after this many bytes; -1: it does not
    bool complete;
    const char* reason;
};

// The file takes its name only from a whole body; otherwise the earlier one stays, and in no case
// is anything else left in the folder.
TEST(IncomingFileTest, CommitsOnlyAWholeBody) {
    const FinishCase cases[] = {
        {"length declared and met", 200, 11, "", -1, true, ""},
        {"no length declared", 200, -1, "", -1, true, ""},
        {"shorter than declared", 200, 20, "", -1, false, "the server sent 11 of 20 bytes"},
        {"longer than declared", 200, 5, "", -1, false, "the server sent 11 of 5 bytes"},
        {"not found", 404, 11, "", -1, false, "the server answered with status 404"},
        {"broken off", 200, -1, "Connection closed", -1, false, "Connection closed"},
        {"disk full", 200, 11, "", 4, false, "cannot write the file: No space left on device"},
    };
    for (const FinishCase& c : cases) {
        SCOPED_TRACE(c.name);
        FailNextFileAfter(-1);
        TestFolder folder;
        WriteFile("Got.txt", "old");
        FailNextFileAfter(c.failAfter);
        IncomingFile file;
        ASSERT_TRUE(file.Open("Got.txt"));
        file.Append("hello ");
        file.Append("world");
        const DownloadResult result = file.Finish(c.status, c.declaredLength, c.transferError);
        EXPECT_EQ(result.complete, c.complete);
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_EQ(ReadFile("Got.txt"), c.complete ? "hello world" : "old");
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            names.insert(entry.path().filename().string());
        EXPECT_EQ(names, std::set<std::string>{"Got.txt"});
    }
    FailNextFileAfter(-1);
}

}  // namespace
