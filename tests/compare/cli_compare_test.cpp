// tallyleaf-cli compare, run as a separate process the way a user or a script runs it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>

#include "booklist/booklist.h"
#include "compare/marc_text.h"
#include "compare/match_review.h"
#include "compare/matching.h"
#include "support/test_folder.h"
#include "support/test_services.h"

namespace fs = std::filesystem;

namespace {

const std::string RecordA =
    MarcFromText("001 a\n082 04$a813$bSAC\n100 1 $aSachar, Louis.\n245 10$aHoles\n490 1 $aWalden");
const std::string RecordB = MarcFromText("001 b\n100 1 $aNobody, A.\n245 10$aOther");
const std::string RecordC =
    MarcFromText("001 c\n100 1 $aPalacio, R. J.\n245 14$aThe wonder\n650  0$aFace");
const std::string Catalogue = RecordA + RecordB + RecordC;

const std::string BooklistText =
    "ID\tTitle\tAuthor\tAustralian\tPublisher\tYear\tISBN\tAnnotation\tCategories\tLevel\r\n"
    "1\tHoles\tSachar, Louis\tN\t\t\t\t\t\tMiddle Years (6-9, Special)\r\n"
    "2\tWonder\tPalacio, R. J.\tN\t\t\t\t\t\tEarly Years (R-2)\r\n";

CommandResult Cli(const std::string& arguments, const std::string& environment = "") {
    // stdout and stderr apart: stderr goes to a file of its own.
    return RunCommand("(" + environment + " '" + TALLYLEAF_CLI + "' " + arguments +
                      " 2>stderr.txt)");
}

std::string Stderr() {
    return ReadFile("stderr.txt");
}

std::size_t StderrLines() {
    const std::string text = Stderr();
    return std::count(text.begin(), text.end(), '\n');
}

class CliCompareTest : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory("data");
        WriteFile("data/Booklist.tul", BooklistText);
        WriteFile("catalogue.mrc", Catalogue);
    }
    TestFolder folder;
};

// The command loads less of the booklist than the desktop, which must not show. In the second
// list a later line gives entry 2 the title and level it matches by, which the comparison reads
// from the entry as it now stands.
struct AsTheDesktop {
    std::string booklist;
    const char* levelTag;
};
class CliCompareAsTheDesktop : public CliCompareTest,
                               public testing::WithParamInterface<AsTheDesktop> {};
INSTANTIATE_TEST_SUITE_P(
    Booklists, CliCompareAsTheDesktop,
    testing::Values(AsTheDesktop{BooklistText, "TUL R-2"},
                    AsTheDesktop{std::regex_replace(BooklistText, std::regex("Wonder"), "Unlike") +
                                     "2\tWonder again\tPalacio, R. J.\tN\t\t\t\t\t\tMature\r\n",
                                 "TUL Mature"}));

}  // namespace

TEST_P(CliCompareAsTheDesktop, WritesTheSameFilesAsTheDesktopRunAndPrintsTheCounts) {
    // An entry the catalogue does not have, matched by an earlier run: its match goes.
    WriteFile("data/Booklist.tul", GetParam().booklist + "3\tGone\tNobody, A.\tN\r\n");
    WriteFile("data/Matches.tul", "3,OLD\r\n1,OLD\r\n");
    fs::create_directory("desktop");
    fs::copy_file("data/Booklist.tul", "desktop/Booklist.tul");
    fs::copy_file("data/Matches.tul", "desktop/Matches.tul");
    const auto run = Cli("compare --dir data catalogue.mrc");
    EXPECT_EQ(run.status, 0) << Stderr();
    EXPECT_EQ(run.output, "3 records read, 2 matches\n");
    EXPECT_EQ(Stderr(), "");  // no progress bar when stderr is not a terminal

    // The same comparison in this process, as the Compare command runs it.
    fs::current_path("desktop");
    TestServices services;
    Booklist booklist = LoadBooklist(CurrentDataFolder(), services);
    RunComparison(booklist, CurrentDataFolder(), "../catalogue.mrc", {}, services);
    fs::current_path("..");
    EXPECT_EQ(ReadFile("data/OUTPUT.MRC"), ReadFile("desktop/OUTPUT.MRC"));
    EXPECT_EQ(WithoutRunLine(ReadFile("data/Matches.tul")),
              WithoutRunLine(ReadFile("desktop/Matches.tul")));
    EXPECT_EQ(WithoutRunLine(ReadFile("data/MatchReview.txt")),
              WithoutRunLine(ReadFile("desktop/MatchReview.txt")));
    EXPECT_EQ(ReadFile("data/Matches.tul").find("3,"), std::string::npos);
    EXPECT_EQ(ReadFile("data/Matches.tul").find("OLD"), std::string::npos);
    EXPECT_NE(ReadFile("data/OUTPUT.MRC").find(GetParam().levelTag), std::string::npos);
    EXPECT_EQ(IndependentReaderFaults("data/OUTPUT.MRC"), "");
}

TEST_F(CliCompareTest, TheSharedDataFolderIsTheDefaultAndDirStillWins) {
    fs::create_directory("other");
    WriteFile("other/Booklist.tul", BooklistText);
    EXPECT_EQ(Cli("compare catalogue.mrc", "TALLYLEAF_DIR=data").output,
              "3 records read, 2 matches\n");
    EXPECT_TRUE(FileExists("data/Matches.tul"));
    EXPECT_EQ(Cli("compare --dir other catalogue.mrc", "TALLYLEAF_DIR=data").status, 0);
    EXPECT_TRUE(FileExists("other/Matches.tul"));
    EXPECT_FALSE(FileExists("Matches.tul"));
}

TEST_F(CliCompareTest, OptionsTurnTheTagsAndTheIsbnTestOff) {
    fs::current_path("data");
    ASSERT_EQ(Cli("compare --no-star ../catalogue.mrc").status, 0) << Stderr();
    std::string text = MarcToText(ReadFile("OUTPUT.MRC"));
    EXPECT_EQ(text.find('*'), std::string::npos);
    EXPECT_NE(text.find("490 10$aTUL 6-9"), std::string::npos);

    ASSERT_EQ(Cli("compare --no-series ../catalogue.mrc").status, 0) << Stderr();
    text = MarcToText(ReadFile("OUTPUT.MRC"));
    EXPECT_NE(text.find("245 15$a*The wonder"), std::string::npos);
    EXPECT_EQ(text.find("TUL"), std::string::npos);

    ASSERT_EQ(Cli("compare --no-star --no-series ../catalogue.mrc").status, 0) << Stderr();
    EXPECT_EQ(ReadFile("OUTPUT.MRC"), RecordA + RecordC);

    // A record that no author test matches is found by its 020 ISBN, unless --no-isbn.
    WriteFile("Booklist.tul", BooklistText + "3\tSummer Land\tChabon, Mike\tN\t\t\t0786816155\r\n");
    WriteFile("isbn.mrc",
              MarcFromText("020   $a0786816155 (pbk.)\n100 1 $aChabon, M.\n245 10$aSummerland"));
    EXPECT_EQ(Cli("compare --no-isbn isbn.mrc").output, "1 record read, 0 matches\n");
    EXPECT_EQ(Cli("compare isbn.mrc").output, "1 record read, 1 match\n");
    EXPECT_EQ(LoadMatchReview(CurrentDataFolder())->at(0).kind, MatchKind::Isbn);
}

TEST_F(CliCompareTest, UsageErrorsExitWithTwo) {
    EXPECT_EQ(Cli("compare --dir data").status, 2);
    EXPECT_EQ(Cli("compare --dir data a.mrc b.mrc").status, 2);
    EXPECT_EQ(Cli("compare --stars --dir data catalogue.mrc").status, 2);
    EXPECT_EQ(Cli("compare --dir").status, 2);
    EXPECT_EQ(Cli("compare --dir data --call-number lc catalogue.mrc").status, 2);
    EXPECT_FALSE(fs::exists("data/OUTPUT.MRC"));
}

// --call-number, else the desktop's remembered choice, which compare reads and never writes.
TEST_F(CliCompareTest, CallNumbersComeFromTheOptionElseTheRememberedChoice) {
    WriteFile("catalogue.mrc", MarcFromText("082 04$a813$bSAC\n092   $aF SAC\n100 1 $aSachar, "
                                            "Louis.\n245 10$aHoles"));
    const struct {
        const char* settings;  // nullptr: no Settings.txt
        const char* option;
        const char* matches;
    } cases[] = {
        {nullptr, "", "1,813 SAC\r\n"},
        {nullptr, "--call-number local-first", "1,F SAC\r\n"},
        {"Other\tx\r\nCallNumberFrom\tlocal-first\r\n", "", "1,F SAC\r\n"},
        {"CallNumberFrom\tlocal-first\r\n", "--call-number dewey-only", "1,813 SAC\r\n"},
        {"CallNumberFrom\tlc\r\n", "", "1,813 SAC\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.settings ? c.settings : "none") + c.option);
        fs::remove("data/Settings.txt");
        if (c.settings) WriteFile("data/Settings.txt", c.settings);
        ASSERT_EQ(Cli(std::string("compare --dir data ") + c.option + " catalogue.mrc").status, 0)
            << Stderr();
        EXPECT_EQ(WithoutRunLine(ReadFile("data/Matches.tul")), c.matches);
        EXPECT_EQ(FileExists("data/Settings.txt") ? ReadFile("data/Settings.txt") : "",
                  c.settings ? c.settings : "");
    }
}

TEST_F(CliCompareTest, BooklistThatCannotBeUsedIsNamed) {
    struct Case {
        const char* what;
        std::function<void()> make;
        int status;
        const char* says;
    };
    const Case cases[] = {
        {"missing", [] { fs::remove("data/Booklist.tul"); }, 1, "Booklist.tul: No such file"},
        {"a folder", [] { fs::create_directory("data/Booklist.tul"); }, 1,
         "Booklist.tul: it is a folder"},
        // Nobody writes to it: the command must not wait for a writer.
        {"a FIFO", [] { ::mkfifo("data/Booklist.tul", 0600); }, 1, "Booklist.tul: not a file"},
        // Saved as UTF-16: every line has a NUL after each letter, so no line reads as an entry.
        {"UTF-16", [] { WriteFile("data/Booklist.tul", std::string("1\0\t\0H\0\r\0\n\0", 10)); }, 0,
         "Booklist.tul holds no booklist entries"},
    };
    for (const Case& c : cases) {
        fs::remove_all("data/Booklist.tul");
        c.make();
        const auto run = Cli("compare --dir data catalogue.mrc");
        EXPECT_EQ(run.status, c.status) << c.what;
        EXPECT_NE(Stderr().find(c.says), std::string::npos) << c.what << ": " << Stderr();
        EXPECT_EQ(Stderr().find("tallyleaf-cli: "), 0u) << c.what;
        EXPECT_EQ(fs::exists("data/OUTPUT.MRC"), c.status == 0) << c.what;
    }
}

TEST_F(CliCompareTest, CatalogueThatCannotBeOpenedChangesNothing) {
    WriteFile("data/Matches.tul", "2,F PAL\r\n");
    WriteFile("data/OUTPUT.MRC", "earlier");
    const auto run = Cli("compare --dir data missing.mrc");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "");
    EXPECT_NE(Stderr().find("missing.mrc"), std::string::npos);
    EXPECT_EQ(StderrLines(), 1u);
    EXPECT_EQ(ReadFile("data/Matches.tul"), "2,F PAL\r\n");
    EXPECT_EQ(ReadFile("data/OUTPUT.MRC"), "earlier");
}

TEST_F(CliCompareTest, AFileWithoutMarcRecordsChangesNothing) {
    const std::string shortBase = MarcFromText("LDR 00000nam a2200036 a 4500\n245 10$aHoles");
    const std::pair<const char*, std::string> files[] = {
        {"empty", ""},
        {"spreadsheet", "ID,Title,Call number\r\n1,Holes,813 SAC\r\n"},
        {"document", "%PDF-1.4\n1 0 obj << /Type /Catalog >> endobj\n%%EOF\n"},
        {"nul bytes", std::string(4096, '\0')},
        {"directory not closed", shortBase.substr(0, 36) + "x" + shortBase.substr(37)},
        {"XML without records", "<?xml version=\"1.0\"?>\n<collection>\n</collection>\n"},
        {"XML broken before its first record", "<collection>\n<record>\n<leader>x</record>"},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        WriteFile("data/Matches.tul", "2,F PAL\r\n");
        WriteFile("data/OUTPUT.MRC", "earlier");
        WriteFile("held.csv", bytes);
        const auto run = Cli("compare --dir data held.csv");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.output, "");
        EXPECT_NE(Stderr().find("held.csv holds no MARC records"), std::string::npos) << Stderr();
        EXPECT_EQ(ReadFile("data/Matches.tul"), "2,F PAL\r\n");
        EXPECT_EQ(ReadFile("data/OUTPUT.MRC"), "earlier");
    }
}

TEST_F(CliCompareTest, RecordsAfterCommentsAndBrokenRecordsAreComparedFromAFileOrAPipe) {
    const std::string broken = MarcFromText("LDR 00000nam a2200012 a 4500\n245 10$aHoles");
    WriteFile("catalogue.mrc", "% exported by the library\r\n" + broken + Catalogue);
    // A MARCXML file that breaks off is compared up to the break, whose line is named.
    WriteFile("catalogue.xml",
              "<collection>\n<record><datafield tag=\"100\" ind1=\"1\" ind2=\" \"><subfield "
              "code=\"a\">Sachar, Louis</subfield></datafield>\n<datafield tag=\"245\" "
              "ind1=\"1\" ind2=\"0\"><subfield code=\"a\">Holes</subfield></datafield>"
              "</record>\n<record><datafield tag=\"245\">\n</record>\n");
    const struct {
        const char* file;
        const char* counts;
        long written;
        const char* said;
    } cases[] = {
        {"catalogue.mrc", "4 records read, 2 matches\n", 2, ""},
        {"catalogue.xml", "1 record read, 1 match\n", 1,
         "stops being well-formed XML at line 5; only the records before it were compared"},
    };
    for (const auto& c : cases) {
        for (const std::string from : {"", "/dev/stdin < ", "/dev/stdin < <(cat "}) {
            const std::string command =
                "compare --dir data " + from + c.file + (from.ends_with("cat ") ? ")" : "");
            SCOPED_TRACE(command);
            fs::remove("data/OUTPUT.MRC");
            const auto run = RunCommand(std::string("bash -c \"'") + TALLYLEAF_CLI + "' " +
                                        command + " 2>stderr.txt\"");
            EXPECT_EQ(run.status, 0) << Stderr();
            EXPECT_EQ(run.output, c.counts);
            EXPECT_NE(Stderr().find(c.said), std::string::npos) << Stderr();
            const std::string output = ReadFile("data/OUTPUT.MRC");
            EXPECT_EQ(std::count(output.begin(), output.end(), '\x1D'), c.written);
        }
    }
}

TEST_F(CliCompareTest, AFolderIsNoCatalogue) {
    WriteFile("data/Matches.tul", "2,F PAL\r\n");
    EXPECT_EQ(Cli("compare --dir data data").status, 1);
    EXPECT_NE(Stderr().find("data"), std::string::npos);
    EXPECT_EQ(ReadFile("data/Matches.tul"), "2,F PAL\r\n");
    EXPECT_FALSE(fs::exists("data/OUTPUT.MRC"));
}

// A folder in the place of a result would refuse its rename after the others were placed: the
// run refuses it first, naming it, and writes nothing.
TEST_F(CliCompareTest, AResultThatIsNoFileIsNamedAndNothingIsWritten) {
    const std::string folder = fs::current_path().string() + "/data/";
    for (const std::vector<std::string>& blocked :
         {std::vector<std::string>{"Matches.tul"}, {"OUTPUT.MRC"}, {"OUTPUT.MRC", "Matches.tul"}}) {
        fs::remove_all("data/Matches.tul");
        fs::remove_all("data/OUTPUT.MRC");
        for (const std::string& name : blocked)
            fs::create_directory("data/" + name);
        const auto run = Cli("compare --dir data catalogue.mrc");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.output, "");
        EXPECT_EQ(Stderr(), "tallyleaf-cli: cannot write " + folder + blocked.front() +
                                ": it is not a regular file\n");
        EXPECT_FALSE(fs::exists("data/MatchReview.txt"));
    }
}

TEST_F(CliCompareTest, ComparingTheOutputFileItselfKeepsItsRecords) {
    ASSERT_EQ(Cli("compare --dir data catalogue.mrc").status, 0) << Stderr();
    const std::string matches = ReadFile("data/Matches.tul");
    const auto again = Cli("compare --dir data data/OUTPUT.MRC");
    EXPECT_EQ(again.status, 0) << Stderr();
    EXPECT_EQ(again.output, "2 records read, 2 matches\n");
    // The stars of the first run come off before the new ones go on; a second series entry is
    // added, as for any catalogue exported after a run.
    const std::string text = MarcToText(ReadFile("data/OUTPUT.MRC"));
    EXPECT_NE(text.find("$a*Holes"), std::string::npos) << text;
    EXPECT_NE(text.find("$a*The wonder"), std::string::npos) << text;
    EXPECT_EQ(text.find("$a**"), std::string::npos) << text;
    EXPECT_EQ(IndependentReaderFaults("data/OUTPUT.MRC"), "");
    EXPECT_EQ(WithoutRunLine(ReadFile("data/Matches.tul")), WithoutRunLine(matches));
    for (const auto& entry : fs::directory_iterator("data"))
        EXPECT_EQ(entry.path().filename().string().find(".saving-"), std::string::npos);
}

TEST_F(CliCompareTest, ShowsAProgressBarOnATerminal) {
    if (RunCommand("command -v script").status != 0) GTEST_SKIP() << "no script(1) for a terminal";
    // script(1) runs the tool on a pseudo-terminal, stdout and stderr both.
    const auto run = RunCommand(std::string("script -qec \"'") + TALLYLEAF_CLI +
                                "' compare --dir data catalogue.mrc\" /dev/null");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("100%"), std::string::npos) << run.output;
    EXPECT_TRUE(run.output.ends_with("3 records read, 2 matches\r\n")) << run.output;
}

TEST(SampleCatalogue, MatchesPartOfTheSampleBooklistByEachTest) {
    TestFolder folder;
    fs::copy_file(fs::path(TALLYLEAF_SAMPLES) / "Booklist.tul", "Booklist.tul");
    const auto run = RunCommand(std::string("'") + TALLYLEAF_CLI + "' compare '" +
                                TALLYLEAF_SAMPLES + "/Catalogue.mrc'");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "3,000 records read, 127 matches\n");
    EXPECT_EQ(IndependentReaderFaults("OUTPUT.MRC"), "");
    const std::string output = MarcToText(ReadFile("OUTPUT.MRC"));
    EXPECT_NE(output.find(":$bthe "), std::string::npos);   // found by the title test
    EXPECT_NE(output.find("490 1 $a"), std::string::npos);  // found by the series test
    EXPECT_EQ(output.find("$a**"), std::string::npos);      // earlier stars do not pile up

    // The tagged output compared again comes out byte for byte as it went in.
    fs::copy_file("OUTPUT.MRC", "tagged.mrc");
    EXPECT_EQ(RunCommand(std::string("'") + TALLYLEAF_CLI + "' compare tagged.mrc").output,
              "127 records read, 127 matches\n");
    EXPECT_EQ(ReadFile("OUTPUT.MRC"), ReadFile("tagged.mrc"));
}

// After a comparison of the samples: the review lists every match with its kind, and taking back
// a match cuts exactly its record from OUTPUT.MRC.
TEST(CliReview, ListsEveryMatchAndTakesOneBack) {
    TestFolder folder;
    fs::copy_file(fs::path(TALLYLEAF_SAMPLES) / "Booklist.tul", "Booklist.tul");
    const std::string cli = std::string("'") + TALLYLEAF_CLI + "' ";
    ASSERT_EQ(RunCommand(cli + "compare '" + TALLYLEAF_SAMPLES + "/Catalogue.mrc'").status, 0);
    const auto review = LoadMatchReview(CurrentDataFolder());
    ASSERT_TRUE(review);
    ASSERT_EQ(review->size(), 127u);
    const std::string checked = RunCommand(cli + "review --check --tab -").output;
    std::size_t toCheck = 0;
    for (const ReviewRow& row : *review)
        toCheck += NeedsCheck(row);
    EXPECT_EQ(std::count(checked.begin(), checked.end(), '\n'), static_cast<long>(toCheck) + 1);
    std::istringstream lines(checked.substr(checked.find('\n') + 1));
    for (std::string line; std::getline(lines, line);) {
        EXPECT_TRUE(line.find("\ttitle inside\t") != std::string::npos ||
                    line.find("\tseries\t") != std::string::npos || line.ends_with("\tyes\t\r"))
            << line;
    }

    // Taking back the first loose match (every kind is taken back in the comparison cases).
    const auto found = std::find_if(review->begin(), review->end(), NeedsCheck);
    ASSERT_NE(found, review->end());
    const ReviewRow taken = *found;
    const std::string before = ReadFile("OUTPUT.MRC");
    ASSERT_EQ(RunCommand(cli + "unmatch " + std::to_string(found - review->begin() + 1)).status, 0);
    EXPECT_EQ(ReadFile("OUTPUT.MRC"),
              before.substr(0, taken.offset) + before.substr(taken.offset + taken.length));
    EXPECT_EQ(IndependentReaderFaults("OUTPUT.MRC"), "");
    EXPECT_TRUE(LoadMatchReview(CurrentDataFolder())->at(found - review->begin()).takenBack);
    // The entry stays matched only through another record of it.
    const bool listed =
        ("\n" + ReadFile("Matches.tul")).find("\n" + taken.id + ",") != std::string::npos;
    EXPECT_EQ(listed, taken.repeated);
}

TEST(CliReview, UsageAndFailures) {
    TestFolder folder;
    WriteFile("Booklist.tul", BooklistText);
    const std::string cli = std::string("'") + TALLYLEAF_CLI + "' ";
    const std::pair<std::string, int> cases[] = {
        {"review --help", 0}, {"unmatch --help", 0}, {"review -", 1}, {"unmatch", 2},
        {"unmatch 0", 2},     {"unmatch x", 2},      {"review", 2},   {"unmatch 1", 1},
    };
    for (const auto& [arguments, status] : cases)
        EXPECT_EQ(RunCommand(cli + arguments + " 2>/dev/null").status, status) << arguments;
}

// A review that is not whole as written (a row repeated, a number that does not read plainly, a
// cut, a NUL, records that overlap) is refused by unmatch and review, and nothing changes.
TEST(CliReview, ADamagedReviewIsRefusedAndNothingChanges) {
    TestFolder folder;
    fs::copy_file(fs::path(TALLYLEAF_SAMPLES) / "Booklist.tul", "Booklist.tul");
    const std::string cli = std::string("'") + TALLYLEAF_CLI + "' ";
    ASSERT_EQ(RunCommand(cli + "compare '" + TALLYLEAF_SAMPLES + "/Catalogue.mrc'").status, 0);
    const std::string review = ReadFile("MatchReview.txt");
    std::vector<std::string> lines;  // each with its CR LF
    for (std::size_t at = 0; at < review.size();) {
        const std::size_t end = review.find("\r\n", at) + 2;
        lines.push_back(review.substr(at, end - at));
        at = end;
    }
    // The review with column `column` (from 0) of row `row` set to `value`.
    const auto withCell = [&](std::size_t row, std::size_t column, const std::string& value) {
        std::vector<std::string> changed = lines;
        std::string& line = changed[row];
        std::size_t from = 0;
        for (std::size_t c = 0; c < column; ++c)
            from = line.find('\t', from) + 1;
        const std::size_t to = std::min(line.find('\t', from), line.size() - 2);
        line.replace(from, to - from, value);
        std::string text;
        for (const std::string& each : changed)
            text += each;
        return text;
    };
    const std::string damaged[] = {
        lines[0] + lines[1] + lines[2] + lines[2] +
            review.substr(lines[0].size() + lines[1].size() + lines[2].size()),
        withCell(2, 10, "-645"),
        withCell(2, 10, " 645"),
        withCell(2, 10, "1234567890123456789"),
        withCell(2, 11, "0"),
        // lines[0] names the run, lines[1] is the header: row 3 is lines[4].
        withCell(4, 10, std::to_string(LoadMatchReview(CurrentDataFolder())->at(1).offset)),
        withCell(2, 0, "7"),
        review.substr(0, review.size() - 20),
        review.substr(0, 200) + '\0' + review.substr(201),
    };
    const std::string output = ReadFile("OUTPUT.MRC");
    const std::string matches = ReadFile("Matches.tul");
    for (std::size_t k = 0; k < std::size(damaged); ++k) {
        SCOPED_TRACE(k);
        WriteFile("MatchReview.txt", damaged[k]);
        const CommandResult unmatch = RunCommand(cli + "unmatch 2 3 2>&1");
        EXPECT_EQ(unmatch.status, 1);
        EXPECT_NE(unmatch.output.find("MatchReview.txt is damaged; run the comparison again"),
                  std::string::npos)
            << unmatch.output;
        EXPECT_EQ(RunCommand(cli + "review - 2>/dev/null").status, 1);
        EXPECT_EQ(ReadFile("OUTPUT.MRC"), output);
        EXPECT_EQ(ReadFile("Matches.tul"), matches);
        EXPECT_EQ(ReadFile("MatchReview.txt"), damaged[k]);
    }
}

// A match taken back stays taken back: the next comparisons, also after the booklist is imported
// again, pass the pair over and list it as rejected earlier.
TEST(CliReview, NotAMatchStaysSaidAcrossComparisonsAndAnImport) {
    TestFolder folder;
    fs::copy_file(fs::path(TALLYLEAF_SAMPLES) / "Booklist.tul", "Booklist.tul");
    const std::string cli = std::string("'") + TALLYLEAF_CLI + "' ";
    const std::string compare = cli + "compare '" TALLYLEAF_SAMPLES "/Catalogue.mrc'";
    ASSERT_EQ(RunCommand(compare).output, "3,000 records read, 127 matches\n");
    const std::vector<ReviewRow> before = *LoadMatchReview(CurrentDataFolder());
    ASSERT_EQ(RunCommand(cli + "unmatch 1 3").status, 0);
    for (const std::string& step :
         {std::string(), cli + "import '" TALLYLEAF_SAMPLES "/Booklist.tul'"}) {
        if (!step.empty()) {
            ASSERT_EQ(RunCommand(step).status, 0);
        }
        EXPECT_EQ(RunCommand(compare).output, "3,000 records read, 125 matches\n") << step;
        const std::vector<ReviewRow> after = *LoadMatchReview(CurrentDataFolder());
        for (const std::size_t row : {0u, 2u}) {
            EXPECT_TRUE(after[row].rejectedEarlier);
            EXPECT_EQ(after[row].id, before[row].id);
            EXPECT_FALSE(after[row].written);
        }
        EXPECT_EQ(("\n" + ReadFile("Matches.tul")).find("\n" + before[0].id + ","),
                  std::string::npos);
    }
    // Match again: the pair is forgotten and matches at the next comparison; a row that stands
    // has nothing to undo.
    EXPECT_EQ(RunCommand(cli + "unmatch --undo 2 2>/dev/null").status, 1);
    EXPECT_EQ(RunCommand(cli + "unmatch --undo 1").status, 0);
    EXPECT_EQ(RunCommand(compare).output, "3,000 records read, 126 matches\n");
}
