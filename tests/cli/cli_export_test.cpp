// Runs tallyleaf-cli on the cases under tests/data/cli/export: each case folder holds `args` (one
// argument a line; {data}, {out}, {empty} and {missing} stand for folders of the test), `exit`
// (the expected exit status), and optionally `expected` (the output file, byte for byte) and
// `stderr` (text the one-line message, or the warning beside an output, must hold).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>

#include "support/test_folder.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string ShellQuote(const std::string& arg) {
    return "'" + Replace(arg, "'", "'\\''") + "'";
}

struct CliRun {
    int exit = -1;
    std::string stderrText;
};

CliRun RunCli(const std::vector<std::string>& args, const fs::path& errorFile) {
    std::string command = ShellQuote(TALLYLEAF_CLI);
    for (const auto& arg : args)
        command += " " + ShellQuote(arg);
    command += " 2>" + ShellQuote(errorFile.string());
    const int status = std::system(command.c_str());
    CliRun run;
    run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.stderrText = ReadFile(errorFile);
    return run;
}

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(TestData("cli/export"))) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class CliExport : public ::testing::TestWithParam<std::string> {};

}  // namespace

TEST_P(CliExport, MatchesItsExpectedFilesAndExitStatus) {
    TestFolder folder;
    const fs::path caseFolder = TestData("cli/export") / GetParam();
    fs::create_directory("empty");
    const std::vector<std::pair<std::string, std::string>> placeholders = {
        {"{data}", TestData("booklist-small").string()},
        {"{out}", (folder.Path() / "out").string()},
        {"{empty}", (folder.Path() / "empty").string()},
        {"{missing}", (folder.Path() / "missing").string()},
    };
    auto expand = [&](std::string text) {
        for (const auto& [from, to] : placeholders)
            text = Replace(text, from, to);
        return text;
    };

    std::vector<std::string> args;
    for (const auto& line : Lines(ReadFile(caseFolder / "args")))
        args.push_back(expand(line));
    const CliRun run = RunCli(args, folder.Path() / "stderr.txt");

    EXPECT_EQ(run.exit, std::stoi(ReadFile(caseFolder / "exit")));
    if (FileExists(caseFolder / "expected")) {
        ASSERT_TRUE(FileExists("out")) << run.stderrText;
        EXPECT_EQ(ReadFile("out"), ReadFile(caseFolder / "expected"));
        if (!FileExists(caseFolder / "stderr")) {
            EXPECT_EQ(run.stderrText, "");
        }
    } else {
        EXPECT_FALSE(FileExists("out"));
        // One line naming the problem.
        EXPECT_EQ(std::count(run.stderrText.begin(), run.stderrText.end(), '\n'), 1)
            << run.stderrText;
    }
    if (FileExists(caseFolder / "stderr")) {
        const std::string wanted = expand(Lines(ReadFile(caseFolder / "stderr")).at(0));
        EXPECT_NE(run.stderrText.find(wanted), std::string::npos) << run.stderrText;
    }
    // The data folder is only read.
    EXPECT_FALSE(FileExists(TestData("booklist-small") / "out"));
}

INSTANTIATE_TEST_SUITE_P(Cases, CliExport, ::testing::ValuesIn(CaseNames()),
                         [](const auto& info) { return Replace(info.param, "-", "_"); });

TEST(Cli, HelpAndVersionExitZero) {
    TestFolder folder;
    EXPECT_EQ(RunCli({"--help"}, "err").exit, 0);
    EXPECT_EQ(RunCli({"--version"}, "err").exit, 0);
    EXPECT_EQ(RunCli({}, "err").exit, 2);
}

// import takes a booklist in as File > Update does, and refuses what Update refuses.
TEST(Cli, ImportReplacesTheBooklistOrChangesNothing) {
    TestFolder folder;
    const std::string old = "7\tPossum Magic\tFox, Mem\r\n";
    WriteFile("Booklist.tul", old);
    WriteFile("Matches.tul", "7,A FOX\r\n");
    // One byte past the cap is refused before a line is read (the file is sparse).
    WriteFile("huge.tul", "12\tThe Hobbit\tTolkien, J.R.R.\r\n");
    fs::resize_file("huge.tul", (std::int64_t{256} << 20) + 1);
    const CliRun refused = RunCli({"import", "huge.tul"}, "err");
    EXPECT_EQ(refused.exit, 1);
    EXPECT_NE(refused.stderrText.find("is larger than 256 MB; the booklist was not changed"),
              std::string::npos);
    EXPECT_EQ(ReadFile("Booklist.tul"), old);
    EXPECT_TRUE(FileExists("Matches.tul"));
    const std::string fresh = "12\tThe Hobbit\tTolkien, J.R.R.\r\n33\tMatilda\tDahl, Roald\r\n";
    WriteFile("new.tul", fresh);
    EXPECT_EQ(RunCli({"import", "new.tul"}, "err").exit, 0);
    EXPECT_EQ(ReadFile("Booklist.tul"), fresh);
    EXPECT_FALSE(FileExists("Matches.tul"));
}
