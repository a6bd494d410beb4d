#include "maintenance/export_writer.h"

#include <gtest/gtest.h>

#include "app/book_list.h"
#include "app/booklist.h"
#include "platform/headless/headless.h"
#include "support/test_folder.h"

namespace {

// Loads the small fixture booklist (with its matches) and lists it as the main list would.
class ExportWriter : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetBooklistState();
        headless::Reset();
        for (const char* name : {"Booklist.tul", "Matches.tul", "TULVersion.txt"}) {
            std::filesystem::copy_file(TestData("booklist-small") / name, name);
        }
        LoadBooklist();
        FilterState everything;
        everything.matchFilter = MatchFilterEverything;
        for (const auto packed : StageBookList(everything, AustralianAll)) {
            rows_.emplace_back(SplitPackedLine(packed)[FieldId]);
        }
    }
    std::string Export(ExportFormat format, const ExportFieldSet& fields) {
        EXPECT_TRUE(WriteExportFile("out", format, fields, rows_));
        return ReadFile("out");
    }
    TestFolder folder_;
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

TEST_F(ExportWriter, ReportsAFileThatCannotBeCreated) {
    EXPECT_FALSE(WriteExportFile("no-such-folder/out.csv", ExportFormat::Comma,
                                 DefaultExportFields(), rows_));
}

TEST(ExportFields, HeaderOfTheIdColumnIsId) {
    EXPECT_EQ(ExportLine(nullptr, DefaultExportFields(), ExportFormat::Comma),
              "\"Id\",\"Title\",\"Author\",\"Levels\",\"Library call number\"");
    EXPECT_EQ(ExportFields()[0].checkBoxText, "ID");
}
