// tallyleaf-cli print --pdf: the rows that export writes with the same filters, in its order, and
// the program's own data files refused as targets.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <sstream>

#include "support/test_folder.h"

namespace fs = std::filesystem;

namespace {

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (const char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

int RunCli(const std::vector<std::string>& args) {
    std::string command = Quote(TALLYLEAF_CLI);
    for (const std::string& arg : args)
        command += " " + Quote(arg);
    command += " 2>stderr.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string PdfText(const fs::path& pdf) {
    std::string text;
    if (FILE* pipe = popen(("pdftotext -layout " + Quote(pdf.string()) + " -").c_str(), "r")) {
        char buffer[4096];
        while (const std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
            text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

// The first field of each exported line after the header: the id.
std::vector<std::string> ExportedIds(const fs::path& file) {
    std::vector<std::string> ids;
    std::istringstream in(ReadFile(file));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line))
        ids.push_back(line.substr(0, line.find('\t')));
    return ids;
}

class CliPrint : public ::testing::TestWithParam<std::vector<std::string>> {
  protected:
    void SetUp() override { fs::copy(TestData("booklist-small"), data); }
    TestFolder folder;
    fs::path data = folder.Path() / "data";
};

TEST_P(CliPrint, PrintsTheRowsOfExportInItsOrder) {
    std::vector<std::string> exportArgs = {"export", "--dir", data.string(), "--tab"};
    std::vector<std::string> printArgs = {"print", "--dir", data.string(), "--pdf", "out.pdf"};
    for (const std::string& filter : GetParam()) {
        exportArgs.push_back(filter);
        printArgs.push_back(filter);
    }
    exportArgs.push_back("out.txt");
    ASSERT_EQ(RunCli(exportArgs), 0) << ReadFile("stderr.txt");
    ASSERT_EQ(RunCli(printArgs), 0) << ReadFile("stderr.txt");

    const std::vector<std::string> ids = ExportedIds("out.txt");
    const std::string text = PdfText("out.pdf");
    ASSERT_NE(text.find("Page 1"), std::string::npos) << text;
    ASSERT_NE(text.find("Call number"), std::string::npos);
    // Under the headings, each row's line begins with its id.
    std::vector<std::string> printed;
    std::istringstream lines(text.substr(text.find("Call number")));
    for (std::string line; std::getline(lines, line);) {
        std::string first;
        std::istringstream(line) >> first;
        if (!first.empty() && first.find_first_not_of("0123456789") == std::string::npos)
            printed.push_back(first);
    }
    EXPECT_FALSE(ids.empty());
    EXPECT_EQ(printed, ids) << text;
}

INSTANTIATE_TEST_SUITE_P(Filters, CliPrint,
                         ::testing::Values(std::vector<std::string>{},
                                           std::vector<std::string>{"--match", "matched"},
                                           std::vector<std::string>{"--australian", "only"}));

// A PDF is written in place while it prints: a data file named as the target would be lost.
TEST(CliPrintTarget, RefusesTheProgramsOwnDataFiles) {
    TestFolder folder;
    fs::copy(TestData("booklist-small"), "data");
    for (const char* name : {"Booklist.tul", "Matches.tul", "TULVersion.txt", "OUTPUT.MRC"}) {
        SCOPED_TRACE(name);
        const fs::path target = fs::path("data") / name;
        const bool existed = FileExists(target);
        const std::string before = existed ? ReadFile(target) : "";
        EXPECT_EQ(RunCli({"print", "--dir", "data", "--pdf", target.string()}), 1);
        EXPECT_NE(ReadFile("stderr.txt").find("one of Tallyleaf's own data files"),
                  std::string::npos)
            << ReadFile("stderr.txt");
        EXPECT_EQ(FileExists(target), existed);
        if (existed) {
            EXPECT_EQ(ReadFile(target), before);
        }
    }
}

}  // namespace
