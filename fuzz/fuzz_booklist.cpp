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
    {
        FuzzFolder folder;
        WriteInput("Booklist.tul", data, size);
        ConsoleServices services;
        LoadBooklist(DataFolder(std::filesystem::current_path().string()), services);
    }
    for (const auto& [idText, packed] : Booklist()) {
        const BookRecord record = UnpackBookRecord(packed);
        if (record.id == 0 || std::to_string(record.id) != idText) std::abort();
        if (record.title.empty() || record.format.empty()) std::abort();
        if (PackBookRecord(record) != packed) std::abort();
        if (record.titleKey != NormaliseKey(record.title)) std::abort();
    }
    if (CategoryList().size() > MaxCategoryNames) std::abort();
    return 0;
}
