// A comparison or a take-back that a crash, a full disk or a second copy of the program cuts
// short leaves the results of one whole run, never files that review accepts while they disagree.
#include <gtest/gtest.h>

#include <sys/statvfs.h>

#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>

#include "booklist/data_folder.h"
#include "compare/marc_text.h"
#include "compare/match_review.h"
#include "support/other_process.h"
#include "support/small_disk.h"
#include "support/test_folder.h"

namespace fs = std::filesystem;
using std::chrono::microseconds;

namespace {

const std::string Cli = TALLYLEAF_CLI;

// The three results of a run, without the stamp that tells one run from another.
struct Results {
    std::string output, matches, review;
    bool operator==(const Results&) const = default;
};

std::string ReadIfThere(const fs::path& path) {
    return fs::exists(path) ? ReadFile(path) : std::string();
}

Results ResultsIn(const fs::path& dir) {
    return {ReadIfThere(dir / "OUTPUT.MRC"), WithoutRunLine(ReadIfThere(dir / "Matches.tul")),
            WithoutRunLine(ReadIfThere(dir / "MatchReview.txt"))};
}

bool ReviewAccepts(const fs::path& dir) {
    return FinishCommand(StartCommand({Cli, "review", "--dir", dir.string(), "-"})) == 0;
}

// A data folder holding `booklist`, with `catalogue` compared in it when one is given.
fs::path Compared(const fs::path& dir, const fs::path& booklist, const fs::path& catalogue = {}) {
    fs::create_directories(dir);
    fs::copy_file(booklist, dir / "Booklist.tul", fs::copy_options::overwrite_existing);
    if (!catalogue.empty()) {
        EXPECT_EQ(FinishCommand(StartCommand({Cli, "compare", "--dir", dir, catalogue})), 0);
    }
    return dir;
}

// The first `count` records of an ISO 2709 file, as another, shorter catalogue.
fs::path FirstRecords(const fs::path& catalogue, std::size_t count, const fs::path& to) {
    const std::vector<std::string> records = RecordsOf(ReadFile(catalogue));
    WriteFile(to, std::accumulate(records.begin(), records.begin() + count, std::string()));
    return to;
}

// Runs each command killed at a random time within a whole run's time; after each, the folder
// holds nothing review accepts, or the results of one of the runs `whole`.
void KillAtRandomTimes(const std::vector<std::vector<std::string>>& commands, const fs::path& dir,
                       const std::vector<Results>& whole, const std::function<void()>& before) {
    before();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FinishCommand(StartCommand(commands[0])), 0);
    const auto full =
        std::chrono::duration_cast<microseconds>(std::chrono::steady_clock::now() - start);
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<std::int64_t> at(0, full.count() * 6 / 5);
    int killed = 0;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        before();
        killed += RunKilledAfter(commands[i], microseconds(at(random))) == 128 + SIGKILL;
        if (ReviewAccepts(dir)) {
            EXPECT_NE(std::find(whole.begin(), whole.end(), ResultsIn(dir)), whole.end()) << i;
        }
    }
    EXPECT_GT(killed, 0) << "no run was cut short";
}

class InterruptedRuns : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        data = new TestFolder;
        const fs::path bench = data->Path() / "bench";
        ASSERT_EQ(RunCommand("python3 '" TALLYLEAF_BENCH_DATA "' '" + bench.string() +
                             "' 100000 10000 >/dev/null")
                      .status,
                  0);
        booklist = bench / "Booklist.tul";
        catalogueA = bench / "Catalogue.mrc";
        catalogueB = FirstRecords(catalogueA, 40000, bench / "Half.mrc");
    }
    static void TearDownTestSuite() { delete data; }

    static inline TestFolder* data = nullptr;
    static inline fs::path booklist, catalogueA, catalogueB;
    TestFolder folder;
};

}  // namespace

TEST_F(InterruptedRuns, KilledComparisonsLeaveOneWholeRun) {
    const std::vector<Results> whole = {ResultsIn(Compared("a", booklist, catalogueA)),
                                        ResultsIn(Compared("b", booklist, catalogueB)), Results{}};
    const fs::path dir = fs::absolute(Compared("work", booklist));
    std::vector<std::vector<std::string>> commands;
    for (int i = 0; i < 30; ++i)
        commands.push_back({Cli, "compare", "--dir", dir, i % 2 ? catalogueB : catalogueA});
    KillAtRandomTimes(commands, dir, whole, [] {});
}

// Beside the runs cut short: the benchmark catalogue compared on one thread and on two.
TEST_F(InterruptedRuns, OneAndTwoThreadsWriteTheSame) {
    std::vector<Results> written;
    for (const std::string threads : {"1", "2"}) {
        const fs::path dir = fs::absolute(Compared("threads" + threads, booklist));
        ASSERT_EQ(RunCommand("TALLYLEAF_THREADS=" + threads + " '" + Cli + "' compare --dir '" +
                             dir.string() + "' '" + catalogueA.string() + "' >/dev/null")
                      .status,
                  0);
        written.push_back(ResultsIn(dir));
        // The run line's digest, left out above, is checked against the output.
        EXPECT_TRUE(ReviewAccepts(dir)) << threads;
    }
    EXPECT_FALSE(written[0].output.empty());
    EXPECT_TRUE(written[0] == written[1]);
}

TEST_F(InterruptedRuns, KilledTakeBacksLeaveTheRunBeforeOrAfter) {
    const fs::path dir = fs::absolute(Compared("work", booklist, catalogueA));
    std::vector<std::string> takeBack = {Cli, "unmatch", "--dir", dir};
    for (std::size_t row = 1; row <= LoadMatchReview(DataFolder(dir))->size(); row += 2)
        takeBack.push_back(std::to_string(row));
    std::map<std::string, std::string> saved;
    for (const char* name : {"OUTPUT.MRC", "Matches.tul", "MatchReview.txt"})
        saved[name] = ReadFile(dir / name);
    const auto restore = [&] {
        for (const auto& [name, bytes] : saved)
            WriteFile(dir / name, bytes);
    };
    const Results before = ResultsIn(dir);
    EXPECT_EQ(FinishCommand(StartCommand(takeBack)), 0);
    const std::vector<Results> whole = {before, ResultsIn(dir)};
    KillAtRandomTimes(std::vector(20, takeBack), dir, whole, restore);
}

// Two take-backs at once: each takes effect or is turned away, and none is lost.
TEST_F(InterruptedRuns, TwoTakeBacksAtOnceAreNeverLost) {
    for (const auto& [first, second] : {std::pair{"1", "2"}, std::pair{"3", "3"}}) {
        const fs::path dir = fs::absolute(Compared("work", TALLYLEAF_SAMPLES "/Booklist.tul",
                                                   TALLYLEAF_SAMPLES "/Catalogue.mrc"));
        const pid_t one = StartCommand({Cli, "unmatch", "--dir", dir, first});
        const pid_t two = StartCommand({Cli, "unmatch", "--dir", dir, second});
        const int statuses[] = {FinishCommand(one), FinishCommand(two)};
        const auto review = LoadMatchReview(DataFolder(dir));
        ASSERT_TRUE(review);
        EXPECT_TRUE(review->at(std::stoul(first) - 1).takenBack);
        EXPECT_TRUE(review->at(std::stoul(second) - 1).takenBack);
        // The same row twice: one takes it back, the other says it already was.
        EXPECT_EQ(statuses[0] + statuses[1], first == std::string(second) ? 1 : 0);
        fs::remove_all(dir);
    }
}

// On a disk with little room left a comparison puts all its results in place or none.
TEST_F(InterruptedRuns, AFullDiskKeepsTheEarlierRunWhole) {
    const fs::path samples = TALLYLEAF_SAMPLES;
    const fs::path shorter = FirstRecords(samples / "Catalogue.mrc", 1500, "shorter.mrc");
    const Results whole = ResultsIn(Compared("whole", samples / "Booklist.tul", shorter));
    for (const std::size_t room : {0, 4096, 24 * 1024, 44 * 1024, 64 * 1024, 256 * 1024}) {
        SmallDisk disk(512 * 1024);
        if (disk.Path().empty()) GTEST_SKIP() << "mounting a small disk needs root";
        const fs::path dir =
            Compared(disk.Path(), samples / "Booklist.tul", samples / "Catalogue.mrc");
        const Results earlier = ResultsIn(dir);
        struct statvfs space {};
        ASSERT_EQ(::statvfs(dir.c_str(), &space), 0);
        const std::size_t free = space.f_bavail * space.f_frsize;
        std::ofstream(dir / "filler") << std::string(free > room ? free - room : 0, 'f');
        const int status = FinishCommand(StartCommand({Cli, "compare", "--dir", dir, shorter}));
        EXPECT_EQ(ResultsIn(dir), status == 0 ? whole : earlier) << room;
        EXPECT_TRUE(ReviewAccepts(dir)) << room;
    }
}
