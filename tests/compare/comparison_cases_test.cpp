// Each folder under tests/data/compare/cases holds one comparison: the booklist, the catalogue
// (readable text, MARCXML that yaz-marcdump turns into ISO 2709, or raw bytes made by
// make_broken_cases.py for damage the text cannot express), and what the run must leave behind:
// "OUTPUT.MRC", "Matches.tul", the counts, and where it says, "MatchReview.txt". A MARCXML
// catalogue is compared twice: in its ISO 2709 form, and as it is, which must come to the same
// records; "broken-at-line.txt" names the line where it stops being well-formed.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "base/text.h"
#include "booklist/booklist.h"
#include "compare/marc_text.h"
#include "compare/match_review.h"
#include "compare/match_takeback.h"
#include "compare/matching.h"
#include "support/test_folder.h"
#include "support/test_services.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> SortedLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(TestData("compare/cases"))) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Each case is run on one thread and on two, which must write the same.
class ComparisonCase : public testing::TestWithParam<std::tuple<std::string, int>> {};

}  // namespace

TEST_P(ComparisonCase, LeavesTheExpectedOutputMatchesAndCounts) {
    const auto& [name, threads] = GetParam();
    const fs::path source = TestData("compare/cases/" + name);
    TestFolder folder;
    fs::copy_file(source / "Booklist.tul", "Booklist.tul");
    // The ISO 2709 form of a MARCXML catalogue is yaz-marcdump's, unless the case gives it (the
    // records before the line where the XML breaks).
    if (fs::exists(source / "catalogue.mrc")) {
        fs::copy_file(source / "catalogue.mrc", "catalogue.mrc");  // damage made byte by byte
    } else if (fs::exists(source / "catalogue.txt")) {
        WriteFile("catalogue.mrc", MarcFromText(ReadFile(source / "catalogue.txt")));
    } else {
        const auto converted =
            RunCommand("yaz-marcdump -i marcxml -o marc '" + (source / "catalogue.xml").string() +
                       "' > catalogue.mrc");
        ASSERT_EQ(converted.status, 0) << converted.output;
    }
    TestServices services;
    Booklist booklist = LoadBooklist(CurrentDataFolder(), services);

    ComparisonOptions options;
    options.threads = threads;
    options.threadedFromBytes = 0;
    if (fs::exists(source / "options.txt")) {
        const std::string chosen = ReadFile(source / "options.txt");
        options.tagging.TagTitlesWithStar = chosen.find("no-star") == std::string::npos;
        options.tagging.TagSeriesWithLevel = chosen.find("no-series") == std::string::npos;
    }
    const ComparisonResult result =
        RunComparison(booklist, CurrentDataFolder(), "catalogue.mrc", options, services);

    EXPECT_EQ(FormatThousands(result.recordsRead) + " records read, " +
                  FormatThousands(result.matches) + " matches\n",
              ReadFile(source / "expected-counts.txt"));
    EXPECT_EQ(MarcToText(ReadFile("OUTPUT.MRC")),
              MarcToText(MarcFromText(ReadFile(source / "expected-output.txt"))));
    EXPECT_EQ(SortedLines(WithoutRunLine(ReadFile("Matches.tul"))),
              SortedLines(ReadFile(source / "expected-matches.txt")));
    EXPECT_EQ(IndependentReaderFaults("OUTPUT.MRC"), "");
    EXPECT_TRUE(result.outputCreated && result.matchesSaved);
    if (fs::exists(source / "catalogue.xml")) {
        // The MARCXML file itself compares as its ISO 2709 form: the same counts and matches, and
        // the same records but for the leader's numbers and its coding, which says UTF-8.
        const std::string output = ReadFile("OUTPUT.MRC");
        Booklist again = LoadBooklist(CurrentDataFolder(), services);
        const ComparisonResult xml = RunComparison(
            again, CurrentDataFolder(), (source / "catalogue.xml").string(), options, services);
        EXPECT_EQ(xml.recordsRead, result.recordsRead);
        EXPECT_EQ(xml.matches, result.matches);
        EXPECT_EQ(SortedLines(WithoutRunLine(ReadFile("Matches.tul"))),
                  SortedLines(ReadFile(source / "expected-matches.txt")));
        const std::string broken = fs::exists(source / "broken-at-line.txt")
                                       ? ReadFile(source / "broken-at-line.txt")
                                       : "0\n";
        EXPECT_EQ(std::to_string(xml.brokenAtLine) + "\n", broken);
        const auto masked = [](std::string text) {
            for (std::size_t at = text.find("LDR "); at != std::string::npos;
                 at = text.find("LDR ", at + 1)) {
                for (const std::size_t i : {0, 1, 2, 3, 4, 9, 12, 13, 14, 15, 16})
                    text[at + 4 + i] = '_';
            }
            return text;
        };
        const std::string fromXml = ReadFile("OUTPUT.MRC");
        for (std::size_t at = 0; at < fromXml.size(); at = fromXml.find('\x1D', at) + 1)
            EXPECT_EQ(fromXml.at(at + 9), 'a');
        EXPECT_EQ(masked(MarcToText(ReadFile("OUTPUT.MRC"))), masked(MarcToText(output)));
        EXPECT_EQ(IndependentReaderFaults("OUTPUT.MRC"), "");
        return;
    }
    // How each record matched, where the case says; then each match taken back alone cuts
    // exactly its record, and leaves its entry matched only through another record of it.
    if (!fs::exists(source / "expected-review.txt")) return;
    EXPECT_EQ(WithoutRunLine(ReadFile("MatchReview.txt")),
              ReadFile(source / "expected-review.txt"));
    const auto review = LoadMatchReview(CurrentDataFolder());
    ASSERT_TRUE(review);
    const std::string output = ReadFile("OUTPUT.MRC");
    const std::string matches = ReadFile("Matches.tul");
    const std::string reviewText = ReadFile("MatchReview.txt");
    for (std::size_t k = 0; k < review->size(); ++k) {
        const ReviewRow& taken = (*review)[k];
        SCOPED_TRACE(taken.id + " " + MatchKindText(taken.kind));
        WriteFile("OUTPUT.MRC", output);
        WriteFile("Matches.tul", matches);
        WriteFile("MatchReview.txt", reviewText);
        booklist = LoadBooklist(CurrentDataFolder(), services);
        ASSERT_TRUE(
            TakeBackMatches(booklist, CurrentDataFolder(), {static_cast<int>(k) + 1}, services));
        EXPECT_EQ(ReadFile("OUTPUT.MRC"),
                  output.substr(0, taken.offset) + output.substr(taken.offset + taken.length));
        EXPECT_EQ(IndependentReaderFaults("OUTPUT.MRC"), "");
        // The row keeps its number, marked, and the same number again changes nothing.
        const auto after = LoadMatchReview(CurrentDataFolder());
        ASSERT_TRUE(after && after->size() == review->size());
        EXPECT_TRUE((*after)[k].takenBack && !(*after)[k].written);
        const std::string cut = ReadFile("OUTPUT.MRC");
        EXPECT_EQ(
            TakeBackMatches(booklist, CurrentDataFolder(), {static_cast<int>(k) + 1}, services)
                .reason,
            "row " + std::to_string(k + 1) + " was already taken back");
        EXPECT_EQ(ReadFile("OUTPUT.MRC"), cut);
        const ReviewRow* other = nullptr;
        for (std::size_t j = 0; j < review->size(); ++j) {
            if (j != k && (*review)[j].id == taken.id) other = &(*review)[j];
        }
        const BookRecord entry = LoadBooklist(CurrentDataFolder(), services).LookupRecord(taken.id);
        EXPECT_EQ(entry.matched != 0, other != nullptr);
        EXPECT_EQ(entry.callNumber, other ? other->callNumber : "");
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ComparisonCase,
                         testing::Combine(testing::ValuesIn(CaseNames()), testing::Values(1, 2)),
                         [](const auto& info) {
                             std::string name = std::get<0>(info.param);
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name + "_threads" + std::to_string(std::get<1>(info.param));
                         });
