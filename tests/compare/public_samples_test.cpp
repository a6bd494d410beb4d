// Real catalogue records from public MARC libraries, clean and deliberately broken: the reader
// and a whole comparison must get through every file, and every record written from a file that
// both independent readers accept must be accepted by them too.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "booklist/booklist.h"
#include "compare/marc_reader.h"
#include "compare/marc_text.h"
#include "compare/matching.h"
#include "support/test_folder.h"
#include "support/test_services.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> SampleFiles() {
    std::vector<std::string> files;
    std::error_code error;
    // The ISO 2709 files: the folder also holds its README and MARCXML files.
    for (const auto& entry : fs::directory_iterator(TALLYLEAF_MARC_SAMPLES, error)) {
        const fs::path name = entry.path().filename();
        if (name != "README.md" && name.extension() != ".xml") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Text fit for one booklist column.
std::string Column(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n' || c == '\0') c = ' ';
    }
    return text;
}

// A booklist made from every other titled record of the file, so that about half the records
// match, through the exact and the title test.
std::string BooklistFrom(const std::string& path, std::int64_t& records) {
    std::string booklist = "ID\tTitle\tAuthor\r\n";
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    MarcFileReader reader(file.get());
    CatalogueRecord record;
    std::string bytes;
    records = 0;
    int id = 0;
    while (!reader.AtEnd()) {
        ReadMarcRecord(reader, bytes);
        if (bytes.empty()) continue;  // line breaks after the last record
        ++records;
        SplitMarcRecord(bytes, record);
        ExtractBookData(record);
        if (record.title.empty() || records % 2 == 0) continue;
        const std::string author = record.author.substr(0, record.author.find('~'));
        booklist += std::to_string(++id) + "\t" + Column(record.title) + "\t" + Column(author) +
                    "\tN\t\t\t\t\t\tMature\r\n";
    }
    return booklist;
}

}  // namespace

TEST(PublicSamples, EveryFileIsReadAndComparedAndWhatIsWrittenStaysClean) {
    const auto files = SampleFiles();
    if (files.empty()) GTEST_SKIP() << "no sample folder at " << TALLYLEAF_MARC_SAMPLES;

    std::int64_t totalMatches = 0;
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        TestFolder folder;
        std::int64_t records = 0;
        WriteFile("Booklist.tul", BooklistFrom(path, records));
        TestServices services;
        Booklist booklist = LoadBooklist(CurrentDataFolder(), services);

        const ComparisonResult result =
            RunComparison(booklist, CurrentDataFolder(), path, {}, services);
        EXPECT_EQ(result.recordsRead, records);
        EXPECT_TRUE(result.outputCreated);
        totalMatches += result.matches;

        const bool cleanInput = IndependentReaderFaults(path).empty();
        // Authors with accents or hyphens in the surname never match (the catalogue surname
        // is not normalised), so some files write nothing; the total below checks the rest.
        if (cleanInput) {
            EXPECT_EQ(IndependentReaderFaults("OUTPUT.MRC"), "");
        }
        // Whatever the input, every written record splits back into whole fields.
        const std::string output = ReadFile("OUTPUT.MRC");
        EXPECT_EQ(std::count(output.begin(), output.end(), '\x1D'),
                  result.matches - result.notWritten - result.malformed);

        // Compared again, what was tagged comes out as it went in: no tag is added twice.
        if (output.empty()) continue;
        WriteFile("tagged.mrc", output);
        EXPECT_TRUE(
            RunComparison(booklist, CurrentDataFolder(), "tagged.mrc", {}, services).holdsRecords);
        EXPECT_EQ(ReadFile("OUTPUT.MRC"), output);
    }
    EXPECT_GT(totalMatches, 300);
}

TEST(PublicSamples, ComparingTheOutputAgainLeavesTheTitlesAsTaggedOnce) {
    // Library of Congress records, with their 9xx fields before the title.
    const std::string path =
        std::string(TALLYLEAF_MARC_SAMPLES) + "/marc4j__pride-and-prejudice-fixed.mrc";
    if (!FileExists(path)) GTEST_SKIP() << "no sample at " << path;
    TestFolder folder;
    std::int64_t records = 0;
    WriteFile("Booklist.tul", BooklistFrom(path, records));
    TestServices services;
    Booklist booklist = LoadBooklist(CurrentDataFolder(), services);

    std::vector<std::vector<std::string>> titles;  // the 245 fields written, run by run
    std::string input = path;
    for (int run = 1; run <= 3; ++run) {
        RunComparison(booklist, CurrentDataFolder(), input, {}, services);
        input = "run" + std::to_string(run) + ".mrc";
        fs::copy_file(OutputFileName, input);
        titles.emplace_back();
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(input.c_str(), "rb"),
                                                             &std::fclose);
        MarcFileReader reader(file.get());
        CatalogueRecord record;
        std::string bytes;
        while (!reader.AtEnd()) {
            ReadMarcRecord(reader, bytes);
            SplitMarcRecord(bytes, record);
            for (const std::string& field : FieldTexts(record)) {
                if (field.starts_with("245")) titles.back().push_back(field);
            }
        }
    }
    ASSERT_GT(titles[0].size(), 50u);
    EXPECT_EQ(
        std::count_if(titles[0].begin(), titles[0].end(),
                      [](const std::string& title) { return title.find("$a**") != title.npos; }),
        0);
    EXPECT_EQ(titles[1], titles[0]);
    EXPECT_EQ(titles[2], titles[0]);
}
