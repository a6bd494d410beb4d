#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "booklist/booklist.h"
#include "booklist/matches.h"
#include "compare/comparison_outcome.h"
#include "compare/marc_reader.h"
#include "compare/marc_text.h"
#include "compare/match_takeback.h"
#include "compare/matching.h"
#include "support/other_process.h"
#include "support/test_folder.h"
#include "support/test_services.h"

namespace fs = std::filesystem;

namespace {

const char* const Header =
    "ID\tTitle\tAuthor\tAustralian\tPublisher\tYear\tISBN\tAnnotation\tCategories\tLevel\t"
    "Series\r\n";

std::string Entry(int id, const std::string& title, const std::string& author,
                  const std::string& level = "Primary Years (3-5)") {
    return std::to_string(id) + "\t" + title + "\t" + author + "\tN\t\t\t\t\t\t" + level + "\t\r\n";
}

std::string Book(const std::string& id, const std::string& title, const std::string& author,
                 const std::string& call = "") {
    return "001 " + id + "\n" + (call.empty() ? "" : "082 04$a" + call + "\n") + "100 1 $a" +
           author + "\n245 10$a" + title + "\n\n";
}

class ComparisonRunTest : public testing::Test {
  protected:
    void SetUp() override {
        WriteFile("Booklist.tul", std::string(Header) + Entry(1, "Holes", "Sachar, Louis") +
                                      Entry(2, "Wonder", "Palacio, R. J.") +
                                      Entry(3, "Matilda", "Dahl, Roald"));
        WriteFile("Matches.tul", "3,823 DAH\r\n");
        TestServices loading;
        booklist = LoadBooklist(CurrentDataFolder(), loading);
    }

    // As the desktop runs it: the comparison, then its outcome told.
    ComparisonResult Run(const std::string& catalogue, TestServices& told, int threads = 0) {
        ComparisonOptions options;
        options.threads = threads;
        const ComparisonResult result =
            RunComparison(booklist, CurrentDataFolder(), catalogue, options, told);
        ShowComparisonOutcome(CurrentDataFolder(), result, told);
        return result;
    }
    ComparisonResult Run(const std::string& catalogue) { return Run(catalogue, services); }

    bool Matched(const char* id) { return booklist.LookupRecord(id).matched == 1; }

    TestFolder folder;
    TestServices services;
    Booklist booklist;
};

const std::string TwoMatches =
    MarcFromText(Book("a", "Holes", "Sachar, Louis.", "813") + Book("b", "Other", "Nobody, A.") +
                 Book("c", "Wonder /", "Palacio, R. J.", "813.6"));

}  // namespace

TEST_F(ComparisonRunTest, RunUnderTheProgressWindowAndEndsWithTheMessage) {
    WriteFile("catalogue.mrc", TwoMatches);
    const ComparisonResult result = Run("catalogue.mrc");
    EXPECT_EQ(result.recordsRead, 3);
    EXPECT_EQ(result.matches, 2);

    const auto& progress = services.Progress();
    EXPECT_EQ(progress.title, "Scanning library catalogue file");
    EXPECT_EQ(progress.caption,
              "Scanning library catalogue file.\r\nComparing against Readvane list.");
    EXPECT_TRUE(progress.withCancel);
    EXPECT_EQ(progress.minimum, 0);
    EXPECT_EQ(progress.maximum, static_cast<std::int64_t>(TwoMatches.size()));
    EXPECT_EQ(progress.position, progress.maximum);
    EXPECT_EQ(progress.counter, "3  2");
    EXPECT_FALSE(progress.open);

    ASSERT_EQ(services.ShownMessages().size(), 1u);
    const auto& message = services.ShownMessages()[0];
    EXPECT_EQ(message.title, "Compare");
    EXPECT_EQ(message.text, "Tagged library items are in the file\r\n" +
                                (fs::current_path() / "OUTPUT.MRC").string() +
                                "\r\n3 records read, 2 matches.");
    EXPECT_EQ(message.buttons, MessageButtons::Ok);
    EXPECT_EQ(message.icon, MessageIcon::Information);

    // Earlier matches are cleared first, so a run never adds to them.
    EXPECT_TRUE(Matched("1"));
    EXPECT_TRUE(Matched("2"));
    EXPECT_FALSE(Matched("3"));
    EXPECT_EQ(booklist.LookupRecord("3").callNumber, "");
    EXPECT_EQ(WithoutRunLine(ReadFile("Matches.tul")).size(),
              std::string("1,813\r\n2,813.6\r\n").size());
}

// A cancel stops the MARCXML parsing too, while it is pieces of the file ahead of the comparison.
TEST_F(ComparisonRunTest, CancelStopsTheReadingOfAMarcxmlFile) {
    std::string xml = "<collection>";
    for (int i = 0; i < 20000; ++i) {
        xml +=
            "<record><datafield tag=\"100\" ind1=\"1\" ind2=\" \"><subfield code=\"a\">Sachar, "
            "L.</subfield></datafield><datafield tag=\"245\" ind1=\"1\" ind2=\"0\"><subfield "
            "code=\"a\">Holes</subfield></datafield></record>\n";
    }
    WriteFile("catalogue.xml", xml + "</collection>\n");
    services.PresetCancelAtPoll(2);
    const ComparisonResult result = Run("catalogue.xml");
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.recordsRead, 2);
    EXPECT_EQ(result.brokenAtLine, 0);
}

TEST_F(ComparisonRunTest, CounterGroupsThousands) {
    std::string text;
    for (int i = 0; i < 1234; ++i)
        text += Book("n" + std::to_string(i), "Holes", "Sachar, L.");
    WriteFile("catalogue.mrc", MarcFromText(text));
    Run("catalogue.mrc");
    EXPECT_EQ(services.Progress().counter, "1,234  1,234");
    EXPECT_TRUE(services.ShownMessages()[0].text.ends_with("\n1,234 records read, 1,234 matches."));
}

TEST_F(ComparisonRunTest, CancelKeepsAndSavesTheMatchesSoFar) {
    WriteFile("catalogue.mrc", TwoMatches);
    // On two threads the third record is decided too, and dropped: the files are one thread's.
    for (const int threads : {1, 2}) {
        SCOPED_TRACE(threads);
        TestServices services;
        services.PresetCancelAtPoll(2);
        const ComparisonResult result = Run("catalogue.mrc", services, threads);
        EXPECT_TRUE(result.cancelled);
        EXPECT_EQ(result.recordsRead, 2);
        EXPECT_EQ(result.matches, 1);
        EXPECT_TRUE(Matched("1"));
        EXPECT_FALSE(Matched("2"));
        EXPECT_EQ(WithoutRunLine(ReadFile("Matches.tul")), "1,813\r\n");
        // The review holds the records matched so far, each where it lies in the output.
        const auto review = LoadMatchReview(CurrentDataFolder());
        ASSERT_TRUE(review && review->size() == 1u);
        EXPECT_EQ((*review)[0].controlNumber, "a");
        EXPECT_EQ(ReadFile("OUTPUT.MRC").size(), static_cast<std::size_t>((*review)[0].length));
        EXPECT_EQ(MarcToText(ReadFile("OUTPUT.MRC")).substr(0, 4), "LDR ");
        EXPECT_EQ(MarcToText(ReadFile("OUTPUT.MRC")).find("001 c"), std::string::npos);
        ASSERT_EQ(services.ShownMessages().size(), 1u);
        EXPECT_TRUE(services.ShownMessages()[0].text.ends_with(
            ".MRC\r\nThe comparison was cancelled.\r\n2 records read, 1 match."));
    }
}

TEST_F(ComparisonRunTest, CatalogueThatCannotBeOpenedOrHoldsNoRecordsResetsNothing) {
    WriteFile("OUTPUT.MRC", "earlier output");
    WriteFile("held.csv", "ID,Title\r\n3,Matilda\r\n");
    for (const char* catalogue : {"no such catalogue.mrc", "held.csv"}) {
        SCOPED_TRACE(catalogue);
        TestServices run;
        const ComparisonResult result = Run(catalogue, run);
        EXPECT_FALSE(result.holdsRecords);
        EXPECT_TRUE(Matched("3"));
        EXPECT_EQ(ReadFile("Matches.tul"), "3,823 DAH\r\n");
        EXPECT_EQ(ReadFile("OUTPUT.MRC"), "earlier output");
        EXPECT_EQ(run.Progress().opened, 0);
        ASSERT_EQ(run.ShownMessages().size(), 1u);
        EXPECT_EQ(run.ShownMessages()[0].title, "Compare");
        EXPECT_EQ(run.ShownMessages()[0].icon, MessageIcon::Exclamation);
        EXPECT_NE(run.ShownMessages()[0].text.find(catalogue), std::string::npos);
    }
}

// A FIFO in the place of a result would hold the run until a reader came: the comparison and the
// take-back refuse it before they change anything.
TEST_F(ComparisonRunTest, ResultThatIsNoRegularFileIsRefusedFirst) {
    WriteFile("catalogue.mrc", TwoMatches);
    for (const char* name : {"OUTPUT.MRC", "Matches.tul", "MatchReview.txt"}) {
        SCOPED_TRACE(name);
        SetUp();
        services = TestServices();
        fs::remove(name);
        ASSERT_EQ(::mkfifo(name, 0600), 0);
        const std::string path = (fs::current_path() / name).string();
        const ComparisonResult result = Run("catalogue.mrc");
        EXPECT_EQ(result.specialFile, path);
        EXPECT_EQ(result.recordsRead, 0);
        EXPECT_TRUE(Matched("3"));
        EXPECT_EQ(services.Progress().opened, 0);
        ASSERT_EQ(services.ShownMessages().size(), 1u);
        EXPECT_NE(services.ShownMessages()[0].text.find(path), std::string::npos);
        const TakeBackResult taken = TakeBackMatches(booklist, CurrentDataFolder(), {1}, services);
        EXPECT_EQ(taken.reason, "cannot write " + path + ": it is not a regular file");
        fs::remove(name);
    }
}

// Another copy of the program at work in the folder: a comparison and a take-back wait for it a
// few seconds, then change nothing and say why.
TEST_F(ComparisonRunTest, AFolderAnotherRunKeepsIsLeftAsItWas) {
    WriteFile("catalogue.mrc", TwoMatches);
    const LockHeldElsewhere other(CurrentDataFolder().Lock());
    ASSERT_TRUE(other.Holding());
    const std::string busy = "Another Tallyleaf is working in " + fs::current_path().string() +
                             "; try again when it has finished.";
    const ComparisonResult result = Run("catalogue.mrc");
    EXPECT_TRUE(result.folderBusy);
    EXPECT_EQ(services.ShownMessages().at(0).text, busy);
    EXPECT_TRUE(Matched("3"));
    EXPECT_EQ(ReadFile("Matches.tul"), "3,823 DAH\r\n");
    EXPECT_FALSE(fs::exists("OUTPUT.MRC"));
    EXPECT_EQ(TakeBackMatches(booklist, CurrentDataFolder(), {1}, services).reason, busy);
}

// The three results are put in place together or not at all: a disk that fills up within the
// first record leaves every earlier result as it was, and the user hears which file failed.
TEST_F(ComparisonRunTest, AResultThatCannotBeWrittenLeavesEveryResultAsItWas) {
    WriteFile("catalogue.mrc", TwoMatches);
    WriteFile("OUTPUT.MRC", "earlier output");
    WriteFile("MatchReview.txt", "earlier review");
    FailNextFileAfter(30);
    const ComparisonResult result = Run("catalogue.mrc");
    EXPECT_FALSE(result.outputCreated || result.matchesSaved || result.reviewSaved);
    EXPECT_EQ(result.outputFailure, "No space left on device");
    EXPECT_EQ(result.matches, 2);
    EXPECT_EQ(ReadFile("OUTPUT.MRC"), "earlier output");  // no torn file in its place
    EXPECT_EQ(ReadFile("Matches.tul"), "3,823 DAH\r\n");
    EXPECT_EQ(ReadFile("MatchReview.txt"), "earlier review");
    const std::string& text = services.ShownMessages().at(0).text;
    EXPECT_EQ(text.find("are in the file"), std::string::npos);
    EXPECT_NE(text.find("could not be created or written (No space left on device)"),
              std::string::npos);
    EXPECT_NE(text.find("could not be saved to"), std::string::npos);
    for (const auto& entry : fs::directory_iterator("."))
        EXPECT_EQ(entry.path().filename().string().find(".saving-"), std::string::npos);
}

TEST_F(ComparisonRunTest, MatchedRecordsTooLongToWriteAreCountedMarkedAndReported) {
    // The star and the series field push a record that was read whole past the limits.
    const std::string big = "500   $a" + std::string(9994, 'x') + "\n";
    std::string text = Book("a", "Holes", "Sachar, Louis.", "813");
    text.insert(text.size() - 1, big);  // one field at the limit: fits
    std::string longTitle = "001 b\n100 1 $aPalacio, R. J.\n245 10$aWonder" +
                            std::string(9988, ' ') + "\n\n";  // 245 fills 9,999 bytes
    WriteFile("catalogue.mrc", MarcFromText(text + longTitle));
    const ComparisonResult result = Run("catalogue.mrc");
    EXPECT_EQ(result.matches, 2);
    EXPECT_EQ(result.notWritten, 1);
    EXPECT_TRUE(Matched("2"));
    const std::string output = ReadFile("OUTPUT.MRC");
    EXPECT_NE(MarcToText(output).find("001 a"), std::string::npos);
    EXPECT_EQ(MarcToText(output).find("001 b"), std::string::npos);
    EXPECT_EQ(IndependentReaderFaults("OUTPUT.MRC"), "");
    const auto& message = services.ShownMessages().at(0);
    EXPECT_NE(message.text.find("Tagged library items are in the file"), std::string::npos);
    EXPECT_NE(message.text.find("1 matched record was too long to write"), std::string::npos);
}

TEST_F(ComparisonRunTest, MatchedRecordsThatWouldBreakTheFileAreNotWritten) {
    // A field terminator in the first tag: the data area starts inside the directory, the next
    // fields still read as title and author, but the tag cannot be written back.
    std::string damaged = "00000nam a2200061 a 4500";
    damaged += std::string("24\x1E") + "000000000" + "245000000000" + "100000000000" + "\x1E";
    damaged +=
        "10\x1F"
        "aHoles\x1E"
        "1 \x1F"
        "aSachar, Louis\x1E\x1D";
    WriteFile("catalogue.mrc", damaged + TwoMatches);
    const ComparisonResult result = Run("catalogue.mrc");
    EXPECT_EQ(result.matches, 3);
    EXPECT_EQ(result.malformed, 1);
    EXPECT_EQ(result.notWritten, 0);
    EXPECT_EQ(IndependentReaderFaults("OUTPUT.MRC"), "");
    const std::string output = ReadFile("OUTPUT.MRC");
    EXPECT_EQ(std::count(output.begin(), output.end(), '\x1D'), 2);
    const auto& message = services.ShownMessages().at(0);
    EXPECT_NE(message.text.find("1 matched record was too damaged to write"), std::string::npos);
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
}

TEST_F(ComparisonRunTest, ComparingTheOutputAgainKeepsOneStarWhateverTheFieldOrder) {
    // Library of Congress records put their 9xx fields before the title.
    WriteFile("catalogue.mrc",
              MarcFromText("001 lc1\n906   $a7$bcbc\n925 0 $aacquire\n955   $bqa\n100 1 $aSachar, "
                           "Louis.\n245 14$aThe holes /\n500   $aNote\n082 04$a813*\n"));
    std::vector<std::string> marked;  // the fields that carry marks, run by run
    std::string input = "catalogue.mrc";
    for (int run = 1; run <= 3; ++run) {
        ASSERT_EQ(Run(input).matches, 1);
        input = "run" + std::to_string(run) + ".mrc";
        fs::copy_file(OutputFileName, input);
        CatalogueRecord record;
        SplitMarcRecord(ReadFile(input), record);
        for (const std::string& field : FieldTexts(record)) {
            if (field.starts_with("245") || field.starts_with("082")) marked.push_back(field);
        }
    }
    EXPECT_EQ(marked, (std::vector<std::string>{"245 15$a*The holes /", "082 04$a813",
                                                "245 15$a*The holes /", "082 04$a813",
                                                "245 15$a*The holes /", "082 04$a813"}));
}

TEST_F(ComparisonRunTest, CatalogueOver2GiBScalesTheBarInto32Bits) {
    {
        std::FILE* file = std::fopen("huge.mrc", "wb");
        ASSERT_NE(file, nullptr);
        const std::string record = MarcFromText(Book("a", "Holes", "Sachar, Louis."));
        std::fwrite(record.data(), 1, record.size(), file);
        std::fclose(file);
        ASSERT_EQ(::truncate("huge.mrc", (std::int64_t{5} << 30) + 7), 0);  // sparse
    }
    services.PresetCancelAtPoll(1);
    const ComparisonResult result = Run("huge.mrc");
    EXPECT_EQ(result.recordsRead, 1);
    EXPECT_EQ(result.matches, 1);
    EXPECT_LE(services.Progress().maximum, 0x7FFFFFFF);
    EXPECT_GT(services.Progress().maximum, 0x3FFFFFFF);
    EXPECT_EQ(ProgressShiftFor(0x7FFFFFFF), 0);
    EXPECT_EQ(ProgressShiftFor(0x80000000), 1);
    EXPECT_EQ(ProgressShiftFor((std::int64_t{5} << 30) + 7), 2);
}
