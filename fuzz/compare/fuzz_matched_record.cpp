// Any bytes as one catalogue record compared with a small booklist. A record that matches one of
// its entries is tagged and rebuilt with every choice of options; the rebuilt bytes must split
// back into the fields tagged, and when compared again (as a catalogue exported after the run
// would be) a record tagged with the star alone must come out the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "booklist/booklist.h"
#include "cli/console_services.h"
#include "compare/matching.h"
#include "fuzz_support.h"
#include "round_trip.h"

namespace {

// Entries that a record can match by each test: author and title, a title alone (no author on
// either side) and a series of the author.
const char* const BooklistText =
    "ID\tTitle\tAuthor\tAustralian\tPublisher\tYear\tISBN\tAnnotation\tCategories\tLevel\tSeries"
    "\r\n"
    "1\tHoles\tSachar, Louis\tN\t\t\t\t\t\tPrimary Years (3-5)\t\r\n"
    "2\tI\t\tN\t\t\t\t\t\tEarly Years (R-2)\t\r\n"
    "3\tRuby the red fairy\tMeadows, Daisy\tN\t\t\t\t\t\tEarly Years (R-2)\tRainbow Magic\r\n";

ComparisonRun& PreparedRun() {
    static ComparisonRun run;
    static Booklist booklist;
    static const bool prepared = [] {
        {
            FuzzFolder folder;
            WriteInput("Booklist.tul", reinterpret_cast<const std::uint8_t*>(BooklistText),
                       std::char_traits<char>::length(BooklistText));
            ConsoleServices services;
            booklist = LoadBooklist(DataFolder(std::filesystem::current_path().string()), services);
        }
        PrepareComparisonRun(run, booklist);
        return booklist.size() == 3;
    }();
    if (!prepared) std::abort();
    return run;
}

// Whether the next comparison will take each title's star out again: it looks for it first in
// the data of the first subfield only.
bool StarsComeOutAgain(const CatalogueRecord& tagged) {
    for (std::size_t k = 0; k < tagged.FieldCount(); ++k) {
        if (tagged.FieldTag(k) == "245" && tagged.FieldContent(k).find('*') != 4) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    KeepArtifactsInStartFolder(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ComparisonRun& run = PreparedRun();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (unsigned char choice = 0; choice < 4; ++choice) {
        run.options = {(choice & 1) != 0, (choice & 2) != 0};
        const std::int64_t unwritten = run.notWritten + run.malformed;
        CatalogueRecord record;
        // Whether a record matches does not depend on the options.
        if (!MatchCatalogueRecord(bytes, record, run)) return 0;
        if (run.bytes.empty()) {
            if (run.notWritten + run.malformed != unwritten + 1) std::abort();
            continue;
        }
        CheckWrittenRecord(record.leader, run.bytes);
        CatalogueRecord tagged;
        SplitMarcRecord(run.bytes, tagged);
        if (choice != 1 || !StarsComeOutAgain(tagged)) continue;
        const std::string written = run.bytes;
        CatalogueRecord again;
        if (MatchCatalogueRecord(written, again, run) && run.bytes != written) std::abort();
    }
    return 0;
}
