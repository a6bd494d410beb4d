#include "maintenance/booklist_import.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "booklist/booklist.h"
#include "support/test_folder.h"
#include "support/test_services.h"

namespace {

constexpr const char* OldBooklist = "7\tPossum Magic\tFox, Mem\r\n";
constexpr const char* OldMatches = "7,A FOX\r\n";
// Two lines of four that are not blank are entries: half is enough.
constexpr const char* NewBooklist =
    "ID\tTitle\tAuthor\r\n\r\nPrinted 2026\r\n12\tThe Hobbit\tTolkien, "
    "J.R.R.\r\n33\tMatilda\tDahl, "
    "Roald\r\n";

class BooklistImportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteFile("Booklist.tul", OldBooklist);
        WriteFile("Matches.tul", OldMatches);
        TestServices loading;
        booklist = LoadBooklist(CurrentDataFolder(), loading);
    }
    bool Import() { return ImportBooklist(booklist, CurrentDataFolder(), services); }

    bool Unchanged() const {
        return ReadFile("Booklist.tul") == OldBooklist && ReadFile("Matches.tul") == OldMatches &&
               booklist.size() == 1 && booklist.LookupRecord("7").matched == 1;
    }

    TestFolder folder;
    TestServices services;
    Booklist booklist;
};

TEST_F(BooklistImportTest, ReplacesTheBooklistDropsTheMatchesAndLoads) {
    WriteFile("Settings.txt", "CallNumberFrom\tlocal-first\r\n");
    WriteFile("chosen.txt", NewBooklist);
    services.PresetChosenFile((folder.Path() / "chosen.txt").string());
    EXPECT_TRUE(Import());

    ASSERT_EQ(services.FileDialogs().size(), 1u);
    EXPECT_EQ(services.FileDialogs()[0].title, "Import booklist");

    EXPECT_EQ(ReadFile("Booklist.tul"), NewBooklist);
    EXPECT_FALSE(FileExists("Matches.tul"));
    EXPECT_EQ(ReadFile("Settings.txt"), "CallNumberFrom\tlocal-first\r\n");  // the choices stay
    EXPECT_EQ(booklist.size(), 2u);
    EXPECT_TRUE(services.ShownMessages().empty());
}

TEST_F(BooklistImportTest, CancelChangesNothing) {
    services.PresetChosenFile("");
    EXPECT_FALSE(Import());
    EXPECT_TRUE(Unchanged());
    EXPECT_TRUE(services.ShownMessages().empty());
}

// A file that cannot be a booklist is refused with a message naming it; nothing is copied,
// deleted or loaded.
TEST_F(BooklistImportTest, RefusesWhatIsNotABooklist) {
    struct Case {
        const char* name;
        const char* contents;  // nullptr: no such file
        const char* reason;
    };
    const Case cases[] = {
        {"missing.txt", nullptr, "No such file or directory"},
        {"empty.txt", "", "it holds no booklist entries"},
        {"page.html", "<html><body>Please sign in</body></html>\r\n",
         "it holds no booklist entries"},
        {"folder.txt", "", "it is a folder"},
        {"fifo.txt", "", "not a file"},
        // One line that happens to look like an entry among binary noise.
        {"manual.pdf", "%PDF-1.4\n%\xE2\xE3\n7\tx\n1 0 obj\n<< >>\n",
         "only 1 of its 5 lines are booklist entries"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services = TestServices();
        const std::string path = (folder.Path() / c.name).string();
        if (std::string(c.name) == "folder.txt") {
            std::filesystem::create_directory(path);
        } else if (std::string(c.name) == "fifo.txt") {
            // Nobody writes to it: opening it for reading must not wait for a writer.
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        } else if (c.contents) {
            WriteFile(path, c.contents);
        }
        services.PresetChosenFile(path);
        EXPECT_FALSE(Import());
        EXPECT_TRUE(Unchanged());
        ASSERT_EQ(services.ShownMessages().size(), 1u);
        const auto& message = services.ShownMessages()[0];
        EXPECT_EQ(message.title, "Import booklist");
        EXPECT_EQ(message.icon, MessageIcon::Exclamation);
        EXPECT_EQ(message.text, "Could not import " + path + ": " + c.reason +
                                    ".\r\nThe booklist was not changed.");
    }
}

}  // namespace
