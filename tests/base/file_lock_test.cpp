#include "base/file_lock.h"

#include <gtest/gtest.h>

#include "support/other_process.h"
#include "support/test_folder.h"

TEST(FileLock, OneHolderAtATimeAndTheFileStays) {
    TestFolder folder;
    {
        const LockHeldElsewhere other("run.lock");
        ASSERT_TRUE(other.Holding());
        EXPECT_FALSE(FileLock("run.lock", std::chrono::milliseconds(0)).Held());
        EXPECT_FALSE(FileLock("run.lock", std::chrono::milliseconds(100)).Held());
    }
    // Its holder gone, however it ended, the lock is free again.
    const FileLock first("run.lock", std::chrono::milliseconds(0));
    EXPECT_TRUE(first.Held());
    EXPECT_FALSE(FileLock("run.lock", std::chrono::milliseconds(0)).Held());
    EXPECT_TRUE(FileExists("run.lock"));
}
