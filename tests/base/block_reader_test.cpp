#include "base/block_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File FileOf(const std::string& bytes) {
    File file(std::tmpfile(), &std::fclose);
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    std::rewind(file.get());
    return file;
}

}  // namespace

// Another program may shorten a catalogue while it is read through the map: the pages past the
// new end must not end the process, and the reading stops where the file was cut, whether the
// cut falls inside the window in hand or before a later one.
TEST(BlockReader, AFileCutShortWhileMappedEndsTheReadingWithoutACrash) {
    const std::size_t page = MappedWindow::PageBytes();
    struct Case {
        std::size_t windowPages;
        std::size_t cutAfter;  // bytes left in the file
    };
    for (const Case& cut : {Case{4, page + 100}, Case{1, 2 * page}}) {
        SCOPED_TRACE(cut.windowPages);
        const File file = FileOf(std::string(4 * page, 'a'));
        BlockReader reader(file.get(), 512, cut.windowPages * page);
        ASSERT_EQ(reader.Next(), 'a');
        ASSERT_EQ(::ftruncate(::fileno(file.get()), static_cast<off_t>(cut.cutAfter)), 0);

        std::size_t kept = 1;
        std::size_t zeros = 0;
        for (int c = reader.Next(); c != -1; c = reader.Next()) {
            if (c == 'a') {
                ASSERT_EQ(zeros, 0u) << "a byte of the file read after the cut";
                ++kept;
            } else {
                ASSERT_EQ(c, 0);
                ++zeros;
            }
        }
        // Every byte up to the cut is read. Past it, the rest of the page the cut falls in reads
        // as NUL bytes, as the system gives it, and the reading stops at the first page the file
        // no longer has.
        EXPECT_EQ(kept, cut.cutAfter);
        EXPECT_LE(zeros, cut.cutAfter % page == 0 ? 1 : page - cut.cutAfter % page + 1);
        EXPECT_TRUE(reader.AtEnd());
    }
}

// A stream the system cannot map is read into blocks, as every file was before.
TEST(BlockReader, AStreamThatCannotBeMappedIsReadIntoBlocks) {
    const std::string text(10000, 'b');
    File stream(fmemopen(const_cast<char*>(text.data()), text.size(), "rb"), &std::fclose);
    ASSERT_TRUE(stream);
    BlockReader reader(stream.get(), 512, 1 << 20);
    std::string read;
    while (!reader.AtEnd()) {
        const std::string_view block = reader.Available();
        EXPECT_LE(block.size(), 512u);
        read.append(block);
        reader.Consume(block.size());
    }
    EXPECT_EQ(read, text);
}
