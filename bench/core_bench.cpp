#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/list_rows.h"
#include "booklist/booklist.h"
#include "booklist/keys.h"
#include "booklist/matching_indexes.h"
#include "booklist_generator.h"
#include "cli/console_services.h"
#include "compare/marc_reader.h"
#include "compare/marc_writer.h"
#include "compare/matching.h"

namespace {

constexpr int Entries = 100000;
constexpr int Matched = 20000;

// A generated booklist folder, written once and made the working directory.
void EnterGeneratedFolder() {
    static bool ready = false;
    if (ready) return;
    const auto folder = std::filesystem::temp_directory_path() / "tallyleaf-bench-booklist";
    std::filesystem::create_directories(folder);
    WriteGeneratedBooklist(folder, Entries, Matched);
    std::filesystem::current_path(folder);
    ready = true;
}

Booklist LoadGeneratedBooklist() {
    ConsoleServices services;
    return LoadBooklist(DataFolder(std::filesystem::current_path().string()), services);
}

// Loaded once, for the benchmarks that only read it.
const Booklist& GeneratedBooklist() {
    static const Booklist booklist = LoadGeneratedBooklist();
    return booklist;
}

// The whole load: parse, keys, packing, indexes, lists and the merge of the matches file. The
// console's pause does not sleep, so the one-second pause is left out.
void BM_LoadBooklist(benchmark::State& state) {
    EnterGeneratedFolder();
    std::size_t entries = 0;
    for (auto _ : state) {
        Booklist loaded = LoadGeneratedBooklist();
        entries = loaded.size();
        benchmark::DoNotOptimize(entries);
        // Freed outside the timing, as a program start has nothing to free.
        state.PauseTiming();
        loaded = Booklist();
        state.ResumeTiming();
    }
    state.counters["entries"] = double(entries);
    state.counters["MB"] = double(std::filesystem::file_size("Booklist.tul")) / 1e6;
}
BENCHMARK(BM_LoadBooklist)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Every filter open: all entries filtered, ordered by author, and turned into list rows.
void BM_FilterAndOrderForDisplay(benchmark::State& state) {
    EnterGeneratedFolder();
    const Booklist& booklist = GeneratedBooklist();
    FilterState everything;
    everything.matchFilter = MatchFilterEverything;
    for (auto _ : state) {
        const auto staged = StageBookList(booklist, everything, AustralianAll);
        std::size_t bytes = 0;
        for (const auto packed : staged)
            bytes += BookRowText(packed).size();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_FilterAndOrderForDisplay)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Filtering and ordering alone, every filter open.
void BM_FilterAndOrderAll(benchmark::State& state) {
    EnterGeneratedFolder();
    const Booklist& booklist = GeneratedBooklist();
    FilterState everything;
    everything.matchFilter = MatchFilterEverything;
    for (auto _ : state)
        benchmark::DoNotOptimize(StageBookList(booklist, everything, AustralianAll).size());
}
BENCHMARK(BM_FilterAndOrderAll)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Filtering and ordering alone, with a filter that keeps about a quarter of the entries.
void BM_FilterAndOrderOneLevel(benchmark::State& state) {
    EnterGeneratedFolder();
    const Booklist& booklist = GeneratedBooklist();
    FilterState filters;
    filters.matchFilter = MatchFilterEverything;
    filters.levelFilter = "Mature";
    for (auto _ : state)
        benchmark::DoNotOptimize(StageBookList(booklist, filters, AustralianAll).size());
}
BENCHMARK(BM_FilterAndOrderOneLevel)->Unit(benchmark::kMillisecond);

void BM_NormaliseKey(benchmark::State& state) {
    std::vector<std::string> titles;
    std::size_t bytes = 0;
    for (unsigned i = 0; i < 1000; ++i) {
        titles.push_back(GeneratedTitle(i));
        bytes += titles.back().size();
    }
    for (auto _ : state) {
        for (const auto& title : titles)
            benchmark::DoNotOptimize(NormaliseKey(title));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * bytes));
    state.SetItemsProcessed(std::int64_t(state.iterations() * titles.size()));
}
BENCHMARK(BM_NormaliseKey);

// Reading a 100 MB catalogue of NUL bytes, sparse on disk: no record at all, so this measures
// how fast the bytes between records are passed over.
void BM_ReadNulCatalogue(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "tallyleaf-bench-nul.mrc";
    const std::int64_t size = std::int64_t{100} << 20;
    std::filesystem::remove(path);
    std::FILE* created = std::fopen(path.c_str(), "wb");
    if (!created) return state.SkipWithError("cannot create the catalogue");
    std::fclose(created);
    std::filesystem::resize_file(path, size);
    std::int64_t records = 0;
    for (auto _ : state) {
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                             &std::fclose);
        MarcFileReader reader(file.get());
        std::string record;
        records = 0;
        while (!reader.AtEnd()) {
            ReadMarcRecord(reader, record);
            records += record.empty() ? 0 : 1;
        }
        benchmark::DoNotOptimize(records);
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["records"] = double(records);
}
BENCHMARK(BM_ReadNulCatalogue)->Unit(benchmark::kMillisecond);

// A comparison of 100,000 records that all match: each a different entry of a 100,000-entry
// booklist (argument 0), or all the same entry, as a catalogue holding many copies of one book
// does (argument 1). The review marks the rows of entries matched more than once, and the second
// case must cost no more per record than the first.
void BM_CompareEveryRecordMatching(benchmark::State& state) {
    constexpr int Records = 100000;
    const bool oneEntry = state.range(0) != 0;
    const auto folder = std::filesystem::temp_directory_path() / "tallyleaf-bench-repeated";
    std::filesystem::create_directories(folder);
    {
        std::FILE* list = std::fopen((folder / "Booklist.tul").c_str(), "wb");
        std::FILE* catalogue = std::fopen((folder / "catalogue.mrc").c_str(), "wb");
        if (!list || !catalogue) return state.SkipWithError("cannot write the bench data");
        std::string bytes;
        for (int i = 0; i < Records; ++i) {
            const std::string title = "Book number " + std::to_string(i);
            const std::string author = "Writer" + std::to_string(i % 1000) + ", Ann";
            std::fprintf(list, "%d\t%s\t%s\tN\tPress\t2001\t\t\tAdventure\tMature\t\tBook\t\r\n",
                         100000 + i, title.c_str(), author.c_str());
            const int of = oneEntry ? 0 : i;
            const std::string control = "rec" + std::to_string(i);
            const std::string writer =
                "1 \x1F"
                "aWriter" +
                std::to_string(of % 1000) + ", Ann.";
            const std::string book =
                "10\x1F"
                "aBook number " +
                std::to_string(of) + " /";
            const FieldToWrite fields[] = {{"001", control},
                                           {"082",
                                            "04\x1F"
                                            "a823.914\x1F"
                                            "bWRI"},
                                           {"100", writer},
                                           {"245", book}};
            WriteMarcRecord("00000nam a2200000 a 4500", fields, bytes);
            std::fwrite(bytes.data(), 1, bytes.size(), catalogue);
        }
        std::fclose(list);
        std::fclose(catalogue);
    }
    const DataFolder data(folder.string());
    ConsoleServices services;
    const Booklist loaded = LoadBooklist(data, services);
    std::int64_t matches = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Booklist booklist = loaded;
        state.ResumeTiming();
        const ComparisonResult result =
            RunComparison(booklist, data, (folder / "catalogue.mrc").string(), {}, services);
        matches = result.matches;
    }
    state.counters["matches"] = double(matches);
    state.SetItemsProcessed(state.iterations() * Records);
}
BENCHMARK(BM_CompareEveryRecordMatching)
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
