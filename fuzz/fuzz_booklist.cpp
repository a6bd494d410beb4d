// Any bytes as "Booklist.tul": the loader must not crash, and what it stores must be consistent.
#include <cstdlib>

#include "booklist/booklist.h"
#include "booklist/keys.h"
#include "cli/console_services.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    KeepArtifactsInStartFolder(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Booklist booklist;
    {
        FuzzFolder folder;
        WriteInput("Booklist.tul", data, size);
        ConsoleServices services;
        booklist = LoadBooklist(DataFolder(std::filesystem::current_path().string()), services);
    }
    for (const auto& [idText, packed] : booklist.Table()) {
        const BookRecord record = UnpackBookRecord(packed);
        if (record.id == 0 || std::to_string(record.id) != idText) std::abort();
        if (record.title.empty() || record.format.empty()) std::abort();
        if (PackBookRecord(record) != packed) std::abort();
        if (record.titleKey != NormaliseKey(record.title)) std::abort();
    }
    if (booklist.Categories().size() > MaxCategoryNames) std::abort();
    return 0;
}
