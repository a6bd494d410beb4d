// The PDF file a print writes: what Qt draws is checked to be whole, and only then replaces the
// target, through ReplacingFile; every failure is told and leaves an existing file as it was.
#include "print/pdf_target.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>

#include "support/test_folder.h"

namespace fs = std::filesystem;

namespace {

// A small PDF as Qt writes one: objects, a cross-reference table at the offset "startxref" gives,
// and "%%EOF" last.
std::string SmallPdf(const std::string& filler = "") {
    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    const std::size_t catalog = pdf.size();
    pdf += "1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
    const std::size_t pages = pdf.size();
    pdf += "2 0 obj\n<< /Type /Pages /Kids [] /Count 0 >>\nendobj\n" + filler;
    const std::size_t xref = pdf.size();
    char entry[32];
    pdf += "xref\n0 3\n0000000000 65535 f \n";
    for (const std::size_t offset : {catalog, pages}) {
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size 3 /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + " \n%%EOF\n";
    return pdf;
}

// Writes `bytes` where the target says Qt is to draw, by name, as Qt does.
void Draw(const PdfTarget& target, const std::string& bytes) {
    WriteFile(target.DrawingPath(), bytes);
}

TEST(IsCompletePdf, TellsAWholeFileFromATornOne) {
    const std::string pdf = SmallPdf();
    EXPECT_TRUE(IsCompletePdf(pdf));
    EXPECT_TRUE(IsCompletePdf(pdf.substr(0, pdf.size() - 1)));  // no last line end
    EXPECT_TRUE(IsCompletePdf(pdf + "\r\n"));
    EXPECT_FALSE(IsCompletePdf(""));
    EXPECT_FALSE(IsCompletePdf("%%EOF\n"));
    // Cut short anywhere: the trailer is gone or incomplete.
    for (const std::size_t cut : {std::size_t{10}, pdf.size() / 2, pdf.size() - 8, pdf.size() - 3})
        EXPECT_FALSE(IsCompletePdf(pdf.substr(0, cut))) << cut;
    // Bytes lost before the table, as a failed write in the middle would lose them.
    std::string holed = pdf;
    holed.erase(20, 16);
    EXPECT_FALSE(IsCompletePdf(holed));
    // An offset past the end, or not a number.
    std::string far = pdf;
    far.replace(far.rfind("startxref\n") + 10, 3, "999");
    EXPECT_FALSE(IsCompletePdf(far));
    EXPECT_FALSE(IsCompletePdf("%PDF-1.4\nstartxref\n\n%%EOF\n"));
    // Newer writers point at a cross-reference stream, an object.
    const std::string streamed =
        "%PDF-1.5\n7 0 obj\n<< /Type /XRef >>\nendobj\nstartxref\n9\n%%EOF\n";
    EXPECT_TRUE(IsCompletePdf(streamed));
}

TEST(PdfTarget, ReplacesTheFileOnlyWithAWholePdf) {
    TestFolder folder;
    WriteFile("list.pdf", "old");
    ::chmod("list.pdf", 0640);
    PdfTarget target;
    ASSERT_TRUE(target.Open("list.pdf"));
    ASSERT_FALSE(target.DrawingPath().empty());
    Draw(target, SmallPdf());
    EXPECT_EQ(ReadFile("list.pdf"), "old");  // nothing replaced while it is drawn
    ASSERT_TRUE(target.Commit()) << target.Reason();
    EXPECT_EQ(ReadFile("list.pdf"), SmallPdf());
    struct stat status {};
    ASSERT_EQ(::stat("list.pdf", &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(FileNamesIn("."), std::set<std::string>{"list.pdf"});

    // A new file.
    ASSERT_TRUE(target.Open("new.pdf"));
    Draw(target, SmallPdf());
    ASSERT_TRUE(target.Commit()) << target.Reason();
    EXPECT_EQ(ReadFile("new.pdf"), SmallPdf());
}

TEST(PdfTarget, AnIncompletePdfOrAFullDiskLeavesTheOldFileByteForByte) {
    TestFolder folder;
    const std::string old = SmallPdf("% the list printed last week\n");
    struct Case {
        std::string drawn;
        std::int64_t diskRoom;  // -1: the disk has room
        const char* reason;
    };
    const Case cases[] = {
        {"", -1, "the PDF was not completed"},
        {SmallPdf().substr(0, 100), -1, "the PDF was not completed"},
        {SmallPdf(std::string(100000, ' ') + "\n"), 200, "No space left on device"},
    };
    for (const Case& c : cases) {
        WriteFile("list.pdf", old);
        FailNextFileAfter(c.diskRoom);
        PdfTarget target;
        ASSERT_TRUE(target.Open("list.pdf"));
        Draw(target, c.drawn);
        EXPECT_FALSE(target.Commit());
        EXPECT_EQ(target.Reason(), c.reason);
        EXPECT_EQ(ReadFile("list.pdf"), old);
        EXPECT_EQ(FileNamesIn("."), std::set<std::string>{"list.pdf"});
    }
    FailNextFileAfter(-1);
    // Nothing drawn at all, and the target given up.
    {
        PdfTarget target;
        ASSERT_TRUE(target.Open("list.pdf"));
    }
    EXPECT_EQ(ReadFile("list.pdf"), old);
    EXPECT_EQ(FileNamesIn("."), std::set<std::string>{"list.pdf"});
}

// A target that cannot be written, /dev/full and a pipe are tried through the command line.

}  // namespace
