// tallyleaf-cli print --pdf: the rows that export writes with the same filters, in its order, and
// the program's own data files refused as targets; a PDF that cannot be written whole, a display
// that cannot be opened and a print queue that rejects jobs.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include "support/command_output.h"
#include "support/test_folder.h"

namespace fs = std::filesystem;

namespace {

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (const char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

int RunShell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The command line of tallyleaf-cli with `args`, quoted for the shell.
std::string CliCommand(const std::vector<std::string>& args) {
    std::string command = Quote(TALLYLEAF_CLI);
    for (const std::string& arg : args)
        command += " " + Quote(arg);
    return command;
}

int RunCli(const std::vector<std::string>& args) {
    return RunShell(CliCommand(args) + " 2>stderr.txt");
}

std::string PdfText(const fs::path& pdf) {
    return CommandOutput("pdftotext -layout " + Quote(pdf.string()) + " -");
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
    WriteFile("data/Server.txt", "http://mirror.example/\n");
    for (const char* name :
         {"Booklist.tul", "Matches.tul", "TULVersion.txt", "OUTPUT.MRC", "Server.txt"}) {
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

// Qt's PDF output reports no write errors; the program checks the PDF and writes it out itself.
// (A full disk leaving the old file as it was is held by the PDF target's own test.)
TEST(CliPrintTarget, AFileThatCannotBeWrittenFailsAndSaysWhy) {
    TestFolder folder;
    fs::copy(TestData("booklist-small"), "data");
    for (const auto& [target, reason] :
         {std::pair{"/dev/full", "cannot write /dev/full: No space left on device"},
          std::pair{"no-such-folder/out.pdf", "out.pdf: No such file or directory"}}) {
        EXPECT_EQ(RunCli({"print", "--dir", "data", "--pdf", target}), 1);
        EXPECT_NE(ReadFile("stderr.txt").find(reason), std::string::npos) << ReadFile("stderr.txt");
    }
    EXPECT_FALSE(FileExists("no-such-folder"));
}

TEST(CliPrintTarget, WritesIntoAPipeAndTellsWhenItCloses) {
    TestFolder folder;
    fs::copy(TestData("booklist-small"), "data");
    // The exit status of the program, not of the pipeline.
    const std::string print = "{ " +
                              CliCommand({"print", "--dir", "data", "--pdf", "/dev/stdout"}) +
                              " 2>stderr.txt; echo $? >status.txt; }";
    ASSERT_EQ(RunShell(print + " | cat >piped.pdf"), 0);
    EXPECT_EQ(ReadFile("status.txt"), "0\n") << ReadFile("stderr.txt");
    EXPECT_NE(PdfText("piped.pdf").find("Call number"), std::string::npos);

    // The reader has gone before the program writes (it loads the booklist and Qt first).
    RunShell(print + " | (exec 0<&-; sleep 2)");
    EXPECT_EQ(ReadFile("status.txt"), "1\n");
    EXPECT_NE(ReadFile("stderr.txt").find("cannot write /dev/stdout: Broken pipe"),
              std::string::npos)
        << ReadFile("stderr.txt");
}

// A display variable naming no X server: Qt's xcb platform would abort the program, and a PDF
// needs no display.
TEST(CliPrintDisplay, PrintsWhenTheDisplayCannotBeOpened) {
    TestFolder folder;
    fs::copy(TestData("booklist-small"), "data");
    int display = 90;
    struct stat status {};
    while (display < 200 &&
           ::stat(("/tmp/.X11-unix/X" + std::to_string(display)).c_str(), &status) == 0)
        ++display;
    const std::string environment = "env -u QT_QPA_PLATFORM DISPLAY=:" + std::to_string(display) +
                                    " WAYLAND_DISPLAY=tallyleaf-no-such-display ";
    ASSERT_EQ(RunShell(environment + CliCommand({"print", "--dir", "data", "--pdf", "out.pdf"}) +
                       " 2>stderr.txt"),
              0)
        << ReadFile("stderr.txt");
    EXPECT_EQ(ReadFile("stderr.txt"), "");
    EXPECT_NE(PdfText("out.pdf").find("Call number"), std::string::npos);
}

// A queue that rejects jobs: run by tests/support/with_own_cupsd.sh, which gives the test a
// scheduler of its own with one queue.
TEST(CliPrintCups, AQueueThatRejectsJobsFailsNamingIt) {
    const char* queueText = std::getenv("TALLYLEAF_TEST_PRINTER");
    if (!queueText)
        GTEST_SKIP() << "no CUPS scheduler of the test's own (run through with_own_cupsd.sh)";
    const std::string queue = queueText;
    TestFolder folder;
    fs::copy(TestData("booklist-small"), "data");
    ASSERT_EQ(RunShell("cupsreject -r 'Out of toner' " + Quote(queue)), 0);
    const int exit = RunCli({"print", "--dir", "data", "--printer", queue});
    const std::string jobs = CommandOutput("lpstat -W all -o " + Quote(queue));
    ASSERT_EQ(RunShell("cupsaccept " + Quote(queue)), 0);
    EXPECT_EQ(exit, 1);
    EXPECT_EQ(ReadFile("stderr.txt"), "tallyleaf-cli: cannot print to " + queue +
                                          ": the printer is not accepting jobs (Out of toner)\n");
    EXPECT_EQ(jobs, "");
}

}  // namespace
