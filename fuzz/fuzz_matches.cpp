// Any bytes as "Matches.tul" over a fixed booklist: no crash, no entry added, and only the
// matched state and call number of entries change.
#include <cstdlib>

#include "booklist/booklist.h"
#include "booklist/matches.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    KeepArtifactsInStartFolder(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Booklist booklist;
    for (int id : {-5, 1, 42, 1000}) {
        BookRecord r;
        r.id = id;
        r.title = "Title " + std::to_string(id);
        booklist.StoreRecord(r);
    }
    {
        FuzzFolder folder;
        WriteInput("Matches.tul", data, size);
        LoadMatches(DataFolder(std::filesystem::current_path().string()), booklist);
    }
    if (booklist.size() != 4) std::abort();
    for (const auto& [idText, packed] : booklist.Table()) {
        const BookRecord record = UnpackBookRecord(packed);
        if (std::to_string(record.id) != idText) std::abort();
        if (record.title != "Title " + idText) std::abort();
        if (record.matched != 0 && record.matched != 1) std::abort();
        if (record.callNumber.find('\t') != std::string::npos) std::abort();
    }
    return 0;
}
