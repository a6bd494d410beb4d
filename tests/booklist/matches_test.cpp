#include "booklist/matches.h"

#include <gtest/gtest.h>

#include "booklist/booklist.h"
#include "support/test_folder.h"
#include "support/test_services.h"

namespace {

class MatchesFile : public ::testing::Test {
  protected:
    void SetUp() override {
        booklist_ = Booklist();
        for (int id : {1, 2, 3}) {
            BookRecord r;
            r.id = id;
            r.title = "T" + std::to_string(id);
            booklist_.StoreRecord(r);
        }
    }
    void Mark(int id, const std::string& callNumber, int matched = 1) {
        BookRecord r = booklist_.LookupRecord(std::to_string(id));
        r.callNumber = callNumber;
        r.matched = matched;
        booklist_.StoreRecord(r);
    }
    FileWriteResult Save() { return WriteMatchesFile(CurrentDataFolder(), booklist_); }
    void Load() { LoadMatches(CurrentDataFolder(), booklist_); }
    TestFolder folder_;
    TestServices services_;
    Booklist booklist_;
};

}  // namespace

TEST_F(MatchesFile, SavesOneLinePerMatchedBookAndReadsItBack) {
    Mark(1, "");
    Mark(2, "F SMI, vol. 2");  // a comma inside the call number survives the round trip
    Mark(3, "ignored", 0);     // unmatched: never written, whatever its call number
    ASSERT_TRUE(Save());
    const std::string saved = ReadFile("Matches.tul");
    EXPECT_NE(saved.find("1,\r\n"), std::string::npos);
    EXPECT_NE(saved.find("2,F SMI, vol. 2\r\n"), std::string::npos);
    EXPECT_EQ(saved.size(), std::string("1,\r\n2,F SMI, vol. 2\r\n").size());

    SetUp();
    Load();
    EXPECT_EQ(booklist_.LookupRecord("1").matched, 1);
    EXPECT_EQ(booklist_.LookupRecord("1").callNumber, "");
    EXPECT_EQ(booklist_.LookupRecord("2").callNumber, "F SMI, vol. 2");
    EXPECT_EQ(booklist_.LookupRecord("3").matched, 0);
}

TEST_F(MatchesFile, NothingMatchedWritesAnEmptyFile) {
    WriteFile("Matches.tul", "old contents\r\n");
    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadFile("Matches.tul"), "");
    Load();
    EXPECT_EQ(booklist_.LookupRecord("1").matched, 0);
}

TEST_F(MatchesFile, ReadsEveryLineEndAndLinesWithoutComma) {
    WriteFile("Matches.tul", "1,A\n2,B\r3");
    Load();
    EXPECT_EQ(booklist_.LookupRecord("1").callNumber, "A");
    EXPECT_EQ(booklist_.LookupRecord("2").callNumber, "B");
    EXPECT_EQ(booklist_.LookupRecord("3").matched, 1);
    EXPECT_EQ(booklist_.LookupRecord("3").callNumber, "");
}

TEST_F(MatchesFile, SkipsLinesThatNameNoLoadedEntry) {
    WriteFile("Matches.tul", "99,Stale\r\n 1,Spaced\r\n01,Zero\r\n\r\n,Empty key\r\n2,Kept\r\n");
    Load();
    EXPECT_EQ(booklist_.Table().size(), 3u);  // nothing added
    EXPECT_EQ(booklist_.LookupRecord("1").matched, 0);
    EXPECT_EQ(booklist_.LookupRecord("2").callNumber, "Kept");
}

TEST_F(MatchesFile, MissingFileMatchesNothing) {
    Load();
    EXPECT_EQ(booklist_.LookupRecord("1").matched, 0);
}

TEST_F(MatchesFile, FailedSaveKeepsThePreviousFileAndSaysWhy) {
    WriteFile("Matches.tul", "1,Previous\r\n");
    Mark(2, "New");
    FailNextFileAfter(3);  // the disk fills up within the first line
    const FileWriteResult saved = Save();
    EXPECT_FALSE(saved.written);
    EXPECT_EQ(saved.reason, "No space left on device");
    EXPECT_EQ(ReadFile("Matches.tul"), "1,Previous\r\n");
}

TEST_F(MatchesFile, LineBreaksInACallNumberCannotAddLines) {
    // A damaged catalogue record can carry anything in its call number.
    Mark(2, std::string("F SMI\r\n3,INJECTED\0x\r", 20));
    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadFile("Matches.tul"), std::string("2,F SMI  3,INJECTED x \r\n"));
    SetUp();
    Load();
    EXPECT_EQ(booklist_.LookupRecord("2").callNumber, "F SMI  3,INJECTED x ");
    EXPECT_EQ(booklist_.LookupRecord("3").matched, 0);
}

TEST_F(MatchesFile, SaveFailsWhenTheTargetCannotBeReplaced) {
    // A folder in the way of the file: no rename can replace it, whoever runs the test.
    std::filesystem::create_directory("Matches.tul");
    std::filesystem::create_directory("Matches.tul/keep");
    Mark(1, "X");
    EXPECT_FALSE(Save());
    EXPECT_TRUE(std::filesystem::is_directory("Matches.tul/keep"));
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        EXPECT_EQ(entry.path().filename(), "Matches.tul");  // no temporary file left behind
    }
}
