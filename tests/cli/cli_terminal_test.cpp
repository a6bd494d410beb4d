// tallyleaf-cli in a terminal: values typed in the locale's encoding against a windows-1252
// booklist, help for every command, and the usage errors around them.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

#include "support/test_folder.h"

namespace {

TEST(CliTerminal, EncodingsHelpAndUsageErrors) {
    TestFolder folder;
    WriteFile("Booklist.tul",
              "ID\tTitle\tAuthor\tAustralian\tPublisher\tYear\tISBN\tAnnotation\tCategories\r\n"
              "1\tHoles\tSachar, Louis\tN\t\t\t\t\tCaf\xE9\r\n"
              "2\tWonder\tPalacio, R. J.\tN\t\t\t\t\tSport\r\n");
    std::filesystem::create_directory("empty");
    struct Case {
        const char* locale;
        std::string arguments;
        int status;
        std::string out;  // what stdout must hold
        std::string err;  // what stderr must hold
    };
    const Case cases[] = {
        {"C.UTF-8", "export --fields ID,title --category Café -", 0, "\"1\",\"Holes\"", ""},
        // Windows-1252 bytes typed in the C locale, or not valid UTF-8, are taken as they are.
        {"C", "export --fields id --category $'Caf\\xE9' -", 0, "\"1\"", ""},
        {"C.UTF-8", "export --fields id --category $'Caf\\xE9' -", 0, "\"1\"", ""},
        {"C.UTF-8", "export --category Cafő -", 2, "", "windows-1252"},
        {"C.UTF-8", "export --category Cafè -", 0, "\"Id\"", "category \"Cafè\""},
        {"C", "export --help", 0, "tallyleaf-cli export [--dir DIR]", ""},
        {"C", "compare --no-star --help", 0, "OUTPUT.MRC", ""},
        {"C", "print --help", 0, "--printer NAME", ""},
        {"C", "export --dir empty x.csv", 1, "", "~/Tallyleaf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const std::string command = std::string("LC_ALL=") + c.locale + " bash -c \"'" +
                                    TALLYLEAF_CLI + "' " + c.arguments +
                                    " >stdout.txt 2>stderr.txt\"";
        const int status = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, c.status);
        const std::string out = ReadFile("stdout.txt");
        EXPECT_NE(out.find(c.out), std::string::npos) << out;
        EXPECT_NE(ReadFile("stderr.txt").find(c.err), std::string::npos) << ReadFile("stderr.txt");
        if (c.out.empty()) {
            EXPECT_EQ(out, "");
        }
    }
}

}  // namespace
