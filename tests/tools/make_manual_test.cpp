// The manual as the build writes it, read back with the PDF tools a reader's viewer would use.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "compare/marc_text.h"

namespace {

std::vector<std::string> ChapterTitles() {
    std::ifstream source(TALLYLEAF_MANUAL_SOURCE);
    std::vector<std::string> titles;
    std::string line;
    bool inCode = false;
    while (std::getline(source, line)) {
        if (line.starts_with("```")) inCode = !inCode;
        if (!inCode && line.starts_with("# ")) titles.push_back(line.substr(2));
    }
    return titles;
}

std::vector<std::string> PdfPages() {
    const CommandResult text =
        RunCommand(std::string("pdftotext -layout '") + TALLYLEAF_MANUAL + "' -");
    // The typeface joins "fi" and "fl" into one glyph, which the text comes back as.
    std::string plain;
    for (std::size_t at = 0; at < text.output.size(); ++at) {
        if (text.output.compare(at, 3, "\xEF\xAC\x81") == 0 ||
            text.output.compare(at, 3, "\xEF\xAC\x82") == 0) {
            plain += text.output[at + 2] == '\x81' ? "fi" : "fl";
            at += 2;
        } else {
            plain += text.output[at];
        }
    }
    std::vector<std::string> pages;
    std::istringstream in(plain);
    std::string page;
    while (std::getline(in, page, '\f'))
        pages.push_back(page);
    return pages;
}

}  // namespace

TEST(Manual, HasATitleContentsAndEveryChapterOnPagesOfItsOwn) {
    const CommandResult info = RunCommand(std::string("pdfinfo '") + TALLYLEAF_MANUAL + "'");
    ASSERT_EQ(info.status, 0) << info.output;
    EXPECT_NE(info.output.find("595 x 842 pts (A4)"), std::string::npos) << info.output;

    const std::vector<std::string> pages = PdfPages();
    ASSERT_GE(pages.size(), 10u);
    EXPECT_NE(pages[0].find("Tallyleaf"), std::string::npos);
    ASSERT_NE(pages[1].find("Contents"), std::string::npos);

    // Every window of the program, by the title the user sees on it.
    std::string whole;
    for (const std::string& page : pages)
        whole += page;
    for (const char* window :
         {"TUL Tallyleaf", "Compare Library Data", "Item Details", "About TUL Tallyleaf",
          "Export List", "Print", "New books", "Import booklist", "Booklist", "Update"}) {
        EXPECT_NE(whole.find(window), std::string::npos) << window;
    }
    // The command summary is whole, an option beside its value.
    for (const char* line : {"[--match all|matched|unmatched]", "[--printer NAME | --pdf FILE]"})
        EXPECT_NE(whole.find(line), std::string::npos) << line;

    const std::vector<std::string> chapters = ChapterTitles();
    ASSERT_GE(chapters.size(), 10u);
    for (const std::string& chapter : chapters) {
        SCOPED_TRACE(chapter);
        // Named in the contents with the page it starts on, which opens with it and says more.
        const std::size_t entry = pages[1].find(chapter);
        ASSERT_NE(entry, std::string::npos);
        const std::size_t lineEnd = pages[1].find('\n', entry);
        const int page = std::stoi(pages[1].substr(pages[1].find_last_of(' ', lineEnd) + 1));
        ASSERT_LE(page, static_cast<int>(pages.size()));
        const std::string& text = pages[page - 1];
        EXPECT_NE(text.find(chapter), std::string::npos);
        EXPECT_GT(text.size(), chapter.size() + 200) << "the chapter is empty";
        EXPECT_NE(text.find(" " + std::to_string(page)), std::string::npos) << "no page number";
    }
}
