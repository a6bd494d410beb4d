#include "booklist/data_folder.h"

#include <gtest/gtest.h>

#include "support/test_folder.h"

namespace fs = std::filesystem;

// However the folder is given, every file is named by one absolute path in it, as the system's
// current folder would name it.
TEST(DataFolder, NamesEveryFileByAbsolutePath) {
    TestFolder folder;
    const std::string here = fs::canonical(folder.Path()).string();
    fs::create_directories("data/sub");
    fs::create_directory_symlink(here + "/data", "link");
    const std::pair<std::string, std::string> cases[] = {
        {"data", here + "/data"},
        {"data/", here + "/data"},
        {"./data/sub/..", here + "/data"},
        {"link", here + "/data"},
        {here + "/data", here + "/data"},
        {".", here},
        {"", here},
        {"not-yet", here + "/not-yet"},
    };
    for (const auto& [given, expected] : cases) {
        const DataFolder data(given);
        EXPECT_EQ(data.Path(), expected) << given;
        EXPECT_EQ(data.Booklist(), expected + "/Booklist.tul") << given;
        EXPECT_EQ(data.Output(), expected + "/OUTPUT.MRC") << given;
        EXPECT_EQ(data.Manual(), expected + "/Tallyleaf.pdf") << given;
    }
    EXPECT_EQ(DataFolder("data", "/usr/share/tallyleaf").Manual(),
              "/usr/share/tallyleaf/Tallyleaf.pdf");
}
