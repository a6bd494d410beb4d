#include "app/data_folder.h"

#include <gtest/gtest.h>

#include "support/test_folder.h"

namespace fs = std::filesystem;

TEST(DataFolders, ACopyOfItsOwnWorksBesideItsExecutable) {
    TestFolder folder;
    const std::string root = folder.Path().string();
    // A build tree, and a "bin" folder that has no installed share folder beside it.
    for (const std::string& program : {root + "/build/src/app", root + "/opt/bin"}) {
        fs::create_directories(program);
        const DataFolders folders = ChooseDataFolders(program, "/xdg", "/home/user");
        EXPECT_EQ(folders.work, program);
        EXPECT_EQ(folders.manual, program + "/Tallyleaf.pdf");
        EXPECT_EQ(folders.installedShare, "");
        EXPECT_TRUE(PrepareDataFolder(folders));
    }
}

TEST(DataFolders, AnInstalledCopyWorksInTheUsersDataFolder) {
    TestFolder folder;
    const std::string root = folder.Path().string();
    fs::create_directories(root + "/usr/bin");
    fs::create_directories(root + "/usr/share/tallyleaf");
    WriteFile(root + "/usr/share/tallyleaf/TULVersion.txt", "2026.1\r\n");
    // Whether the program's folder is writable does not matter: root can write to /usr/bin.
    fs::permissions(root + "/usr/bin", fs::perms::owner_read | fs::perms::owner_exec);

    const std::string xdg = root + "/xdg";
    const std::string home = root + "/home";
    struct Case {
        const char* xdg;
        const char* home;
        std::string work;
    };
    const Case cases[] = {
        {xdg.c_str(), "/nowhere", xdg + "/tallyleaf"},
        {"", home.c_str(), home + "/.local/share/tallyleaf"},
        {"relative/xdg", home.c_str(), home + "/.local/share/tallyleaf"},
        {nullptr, home.c_str(), home + "/.local/share/tallyleaf"},
    };
    for (const Case& c : cases) {
        const DataFolders folders = ChooseDataFolders(root + "/usr/bin", c.xdg, c.home);
        EXPECT_EQ(folders.work, c.work);
        EXPECT_EQ(folders.manual, root + "/usr/share/tallyleaf/Tallyleaf.pdf");
        ASSERT_TRUE(PrepareDataFolder(folders));
        EXPECT_EQ(ReadFile(c.work + "/TULVersion.txt"), "2026.1\r\n");
    }
    // A version the user's folder already has is kept; an empty one, cut by a full disk, is not.
    const DataFolders inXdg = ChooseDataFolders(root + "/usr/bin", xdg.c_str(), "");
    for (const char* before : {"2027.0\r\n", ""}) {
        WriteFile(root + "/xdg/tallyleaf/TULVersion.txt", before);
        ASSERT_TRUE(PrepareDataFolder(inXdg));
        EXPECT_EQ(ReadFile(root + "/xdg/tallyleaf/TULVersion.txt"),
                  *before ? before : "2026.1\r\n");
    }
    fs::permissions(root + "/usr/bin", fs::perms::owner_all);
}

TEST(DataFolders, AnInstalledCopyWithoutAUsableFolderSaysWhyAndUsesNoOther) {
    TestFolder folder;
    const std::string root = folder.Path().string();
    fs::create_directories(root + "/usr/bin");
    fs::create_directories(root + "/usr/share/tallyleaf");
    const std::string homeFile = root + "/home-is-a-file";
    WriteFile(homeFile, "");
    WriteFile(root + "/xdg-file", "");
    struct Case {
        std::string xdg;
        const char* home;
        const char* reason;
    };
    const Case cases[] = {
        {"", nullptr, "neither HOME nor XDG_DATA_HOME names a folder"},
        {"relative", "", "neither HOME nor XDG_DATA_HOME names a folder"},
        {root + "/xdg-file", nullptr, "Not a directory"},
        {"", homeFile.c_str(), "Not a directory"},
    };
    for (const Case& c : cases) {
        const DataFolders folders = ChooseDataFolders(root + "/usr/bin", c.xdg.c_str(), c.home);
        const FolderCheck check = PrepareDataFolder(folders);
        EXPECT_FALSE(check) << folders.work;
        EXPECT_EQ(check.reason, c.reason) << folders.work;
        EXPECT_NE(folders.work, root + "/usr/bin");
    }
}
