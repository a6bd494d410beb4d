#include "base/replacing_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/test_folder.h"

namespace fs = std::filesystem;

namespace {

// The number of a process that has ended.
pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

}  // namespace

TEST(ReplacingFile, TheOldFileStaysUntilTheNewOneIsComplete) {
    TestFolder folder;
    WriteFile("list.csv", "old");
    ReplacingFile file;
    ASSERT_TRUE(file.Open("list.csv"));
    file.Write("new ");
    file.Write(std::string(200000, 'x'));  // past the buffer
    EXPECT_EQ(ReadFile("list.csv"), "old");
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFile("list.csv"), "new " + std::string(200000, 'x'));

    ASSERT_TRUE(file.Open("list.csv"));
    file.Write("abandoned");
    file.Discard();
    EXPECT_EQ(ReadFile("list.csv").substr(0, 4), "new ");
    EXPECT_EQ(FileNamesIn("."), std::set<std::string>{"list.csv"});
}

TEST(ReplacingFile, AFullDiskLeavesTheOldFileAndNoTemporary) {
    TestFolder folder;
    WriteFile("Matches.tul", "1,old\r\n");
    FailNextFileAfter(70000);
    ReplacingFile file;
    ASSERT_TRUE(file.Open("Matches.tul"));
    file.Write(std::string(100000, 'x'));
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(file.Reason(), "No space left on device");
    EXPECT_EQ(ReadFile("Matches.tul"), "1,old\r\n");
    EXPECT_EQ(FileNamesIn("."), std::set<std::string>{"Matches.tul"});
    // The preset was for one file only.
    EXPECT_TRUE(ReplaceFileContents("Matches.tul", std::string(100000, 'y')).written);
}

TEST(ReplacingFile, FollowsALinkAndKeepsThePermissions) {
    TestFolder folder;
    fs::create_directory("real");
    WriteFile("real/OUTPUT.MRC", "old");
    fs::permissions("real/OUTPUT.MRC",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real/OUTPUT.MRC", "OUTPUT.MRC");
    ASSERT_TRUE(ReplaceFileContents("OUTPUT.MRC", "new").written);
    EXPECT_TRUE(fs::is_symlink("OUTPUT.MRC"));
    EXPECT_EQ(ReadFile("real/OUTPUT.MRC"), "new");
    EXPECT_EQ(fs::status("real/OUTPUT.MRC").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A link to a file not there yet creates that file.
    fs::create_symlink("real/later.csv", "later.csv");
    ASSERT_TRUE(ReplaceFileContents("later.csv", "first").written);
    EXPECT_EQ(ReadFile("real/later.csv"), "first");
}

// In a folder everybody may write to but only owners delete from, a link is followed only when
// the user or the folder's owner placed it: another user's link must not aim the write at a file
// of the user's.
TEST(ReplacingFile, ALinkAnotherUserPlacedInASharedFolderIsNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "handing a link to another user needs root";
    TestFolder folder;
    constexpr uid_t Nobody = 65534;
    const struct {
        fs::perms folder;
        uid_t linkOwner;
        bool followed;
    } cases[] = {
        {fs::perms::all | fs::perms::sticky_bit, Nobody, false},
        {fs::perms::all | fs::perms::sticky_bit, 0, true},  // the user's own link
        {fs::perms::all, Nobody, true},                     // no sticky bit: anyone could swap it
        {fs::perms::owner_all | fs::perms::sticky_bit, Nobody, true},  // not world-writable
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string shared = "shared" + std::to_string(++n);
        SCOPED_TRACE(shared);
        fs::create_directory(shared);
        fs::permissions(shared, c.folder);
        WriteFile("victim.txt", "the user's own");
        const std::string link = shared + "/export.csv";
        fs::create_symlink(fs::current_path() / "victim.txt", link);
        ASSERT_EQ(::lchown(link.c_str(), c.linkOwner, c.linkOwner), 0);
        const FileWriteResult result = ReplaceFileContents(link, "exported");
        EXPECT_EQ(result.written, c.followed);
        EXPECT_EQ(ReadFile("victim.txt"), c.followed ? "exported" : "the user's own");
        if (!c.followed) {
            EXPECT_EQ(result.reason, "it is a link that another user placed in a shared folder");
        }
    }
}

TEST(ReplacingFile, WritesStraightIntoWhatIsNoRegularFile) {
    TestFolder folder;
    ASSERT_EQ(::mkfifo("pipe", 0600), 0);
    const int reader = ::open("pipe", O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(ReplaceFileContents("pipe", "through the pipe").written);
    char got[64] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 16);
    EXPECT_EQ(std::string(got), "through the pipe");
    ::close(reader);
    EXPECT_EQ(fs::status("pipe").type(), fs::file_type::fifo);

    fs::create_directory("folder.csv");
    const FileWriteResult folderResult = ReplaceFileContents("folder.csv", "x");
    EXPECT_FALSE(folderResult.written);
    EXPECT_EQ(folderResult.reason, "Is a directory");
    EXPECT_TRUE(fs::is_directory("folder.csv"));
}

TEST(ReplacingFile, RemovesTemporariesOnlyOfWritersKnownToHaveEndedOrADayOld) {
    TestFolder folder;
    std::string own;  // this process's temporary name, which carries where it runs
    {
        ReplacingFile file;
        ASSERT_TRUE(file.Open("Matches.tul"));
        for (const auto& entry : fs::directory_iterator("."))
            own = entry.path().filename().string();
    }
    const std::string mine = std::to_string(::getpid());
    ASSERT_TRUE(own.ends_with("." + mine)) << own;
    const std::string here = own.substr(0, own.size() - mine.size());  // "Matches.tul.saving-...."
    const std::string ended = std::to_string(EndedProcess());
    const std::string elsewhere = "Matches.tul.saving-otherhost" + here.substr(here.find('.', 19));
    const std::string space = here.substr(0, here.rfind('.', here.size() - 2)) + ".pid1.";
    struct Case {
        std::string name;
        bool dayOld;
        bool removed;
    };
    const Case cases[] = {
        {here + ended, false, true},
        {here + std::to_string(::getppid()), false, false},
        {elsewhere + ended, false, false},  // a writer on another machine sharing the folder
        {space + ended, false, false},      // in another container
        {elsewhere + ended + "x", true, true},
        {"Matches.tul.saving-" + ended, false, false},  // named the old way: by age only
        {"Matches.tul.saving-" + mine + "1", true, true},
        {"Notes.txt.saving-1", true, false},  // another file's: not this one's to clear
    };
    for (const Case& c : cases) {
        WriteFile(c.name, "partial");
        if (c.dayOld) {
            const timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 25 * 3600, 0}};
            ASSERT_EQ(::utimensat(AT_FDCWD, c.name.c_str(), times, 0), 0);
        }
    }
    ASSERT_TRUE(ReplaceFileContents("Matches.tul", "saved").written);
    for (const Case& c : cases)
        EXPECT_EQ(FileExists(c.name), !c.removed) << c.name;
}
