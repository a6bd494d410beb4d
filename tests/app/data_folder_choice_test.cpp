#include "app/data_folder_choice.h"

#include <gtest/gtest.h>

#include "support/small_disk.h"
#include "support/test_folder.h"

namespace fs = std::filesystem;

namespace {

// An installed layout, "usr/bin" with "usr/share/tallyleaf" beside it, in the test folder.
class DataFoldersTest : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(root + "/usr/bin");
        fs::create_directories(root + "/usr/share/tallyleaf");
        fs::create_directories(home);
        WriteFile(root + "/usr/share/tallyleaf/TULVersion.txt", "2026.1\r\n");
    }
    DataFolders Installed(const char* tallyleafDir = nullptr, const char* xdg = nullptr) {
        return ChooseDataFolders(root + "/usr/bin", {tallyleafDir, home.c_str(), xdg});
    }

    TestFolder folder;
    const std::string root = folder.Path().string();
    const std::string home = root + "/home";
};

}  // namespace

TEST_F(DataFoldersTest, WhereEachCopyWorks) {
    const std::string shared = root + "/school/shared";
    // A build tree, and a "bin" folder that has no installed share folder beside it.
    for (const std::string& program : {root + "/build/src/app", root + "/opt/bin"}) {
        fs::create_directories(program);
        const DataFolders own = ChooseDataFolders(program, {nullptr, "/home/user", "/xdg"});
        EXPECT_EQ(own.work, program);
        EXPECT_EQ(own.manual, program + "/Tallyleaf.pdf");
        EXPECT_TRUE(PrepareDataFolder(own));
        EXPECT_EQ(ChooseDataFolders(program, {shared.c_str(), "/home/user", nullptr}).work, shared);
    }
    const DataFolders installed = Installed("");
    EXPECT_EQ(installed.work, home + "/Tallyleaf");
    EXPECT_EQ(installed.manual, root + "/usr/share/tallyleaf/Tallyleaf.pdf");
    ASSERT_TRUE(PrepareDataFolder(installed));
    EXPECT_EQ(ReadFile(home + "/Tallyleaf/TULVersion.txt"), "2026.1\r\n");
    // A folder set by the school's IT is made on the first start too.
    const DataFolders set = Installed(shared.c_str());
    EXPECT_EQ(set.work, shared);
    ASSERT_TRUE(PrepareDataFolder(set));
    EXPECT_EQ(ReadFile(shared + "/TULVersion.txt"), "2026.1\r\n");

    // A version the folder already has is kept; an empty one, cut by a full disk, is not.
    for (const char* before : {"2027.0\r\n", ""}) {
        WriteFile(home + "/Tallyleaf/TULVersion.txt", before);
        ASSERT_TRUE(PrepareDataFolder(installed));
        EXPECT_EQ(ReadFile(home + "/Tallyleaf/TULVersion.txt"), *before ? before : "2026.1\r\n");
    }
}

TEST_F(DataFoldersTest, TheEarlierFolderMovesOnceWhenItHoldsABooklist) {
    struct Case {
        const char* xdg;
        std::string earlier;
        bool booklist;
        bool alreadyThere;
        bool moved;
    };
    const Case cases[] = {
        {nullptr, home + "/.local/share/tallyleaf", true, false, true},
        {"/xdg-elsewhere", home + "/.local/share/tallyleaf", true, false, false},
        {nullptr, home + "/.local/share/tallyleaf", false, false, false},
        {nullptr, home + "/.local/share/tallyleaf", true, true, false},
    };
    for (const Case& c : cases) {
        fs::remove_all(home);
        fs::create_directories(c.earlier);
        WriteFile(c.earlier + "/Matches.tul", "7,A FOX\r\n");
        if (c.booklist) WriteFile(c.earlier + "/Booklist.tul", "7\tPossum Magic\tFox, Mem\r\n");
        if (c.alreadyThere) fs::create_directories(home + "/Tallyleaf");
        const DataFolders folders = Installed(nullptr, c.xdg);
        ASSERT_TRUE(PrepareDataFolder(folders)) << c.earlier;
        EXPECT_EQ(FileExists(home + "/Tallyleaf/Matches.tul"), c.moved) << c.earlier;
        EXPECT_EQ(FileExists(c.earlier + "/Matches.tul"), !c.moved) << c.earlier;
        EXPECT_TRUE(FileExists(home + "/Tallyleaf/TULVersion.txt"));
    }
}

// With the new folder on another file system the files are copied: on a disk too small for them
// all, none moves, the earlier folder is used this time and the next start tries again.
TEST_F(DataFoldersTest, TheEarlierFilesMoveToAnotherDiskAllOrNone) {
    const std::string booklist(200 * 1024, 'b');
    for (const std::size_t diskBytes : {1024 * 1024, 64 * 1024}) {
        SmallDisk disk(diskBytes);
        if (disk.Path().empty()) GTEST_SKIP() << "mounting a small disk needs root";
        const std::string xdg = root + "/xdg", earlier = xdg + "/tallyleaf";
        fs::create_directories(earlier);
        WriteFile(earlier + "/Matches.tul", "7,A FOX\r\n");
        WriteFile(earlier + "/Booklist.tul", booklist);
        const DataFolders folders =
            ChooseDataFolders(root + "/usr/bin", {nullptr, disk.Path().c_str(), xdg.c_str()});
        const FolderCheck check = PrepareDataFolder(folders);
        ASSERT_TRUE(check) << check.reason;
        const bool fits = diskBytes > booklist.size();
        EXPECT_EQ(check.work, fits ? folders.work : earlier);
        EXPECT_EQ(ReadFile(check.work + "/Booklist.tul"), booklist);
        EXPECT_EQ(ReadFile(check.work + "/Matches.tul"), "7,A FOX\r\n");
        EXPECT_EQ(fs::exists(earlier + "/Booklist.tul"), !fits);
        EXPECT_EQ(fs::exists(folders.work), fits);
        EXPECT_EQ(check.notice,
                  fits ? ""
                       : "Your files could not be moved to " + folders.work +
                             ": Booklist.tul could not be copied (No space left on device). "
                             "Tallyleaf uses " +
                             earlier + " this time.");
        fs::remove_all(xdg);
    }
}

TEST_F(DataFoldersTest, AFolderThatCannotBeUsedSaysWhyAndNoOtherIsUsed) {
    const std::string file = root + "/a-file";
    WriteFile(file, "");
    struct Case {
        const char* tallyleafDir;
        const char* home;
        const char* reason;
    };
    const Case cases[] = {
        {nullptr, nullptr, "neither TALLYLEAF_DIR nor HOME names a folder"},
        {"", "relative", "neither TALLYLEAF_DIR nor HOME names a folder"},
        {file.c_str(), nullptr, "Not a directory"},
        {nullptr, file.c_str(), "Not a directory"},
    };
    for (const Case& c : cases) {
        const DataFolders folders =
            ChooseDataFolders(root + "/usr/bin", {c.tallyleafDir, c.home, nullptr});
        const FolderCheck check = PrepareDataFolder(folders);
        EXPECT_FALSE(check) << folders.work;
        EXPECT_EQ(check.reason, c.reason) << folders.work;
    }
}
