// The desktop program's comparison of a catalogue, under the real progress window with its
// per-record position, counter and poll, timed for the comparison of the command-line tool.
//
//   tallyleaf_desktop_compare_bench FOLDER CATALOGUE [RUNS]
//
// FOLDER holds Booklist.tul; OUTPUT.MRC and Matches.tul are written there. A run over a one-record
// catalogue is timed first and taken off: it holds the one-second pauses, the saving and the
// final message, everything but the records themselves.
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "booklist/booklist.h"
#include "compare/matching.h"
#include "platform/dialogs.h"
#include "platform/qt/fonts.h"
#include "platform/qt/qt_services.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration span) {
    return std::chrono::duration<double>(span).count();
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s FOLDER CATALOGUE [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc == 4 ? std::max(1, std::atoi(argv[3])) : 5;
    const std::string catalogue = argv[2];
    const DataFolder folder(argv[1]);
    QtServices services(folder.Path());
    CreateFontsAndColours();
    OpenMainWindow(1, "TUL Tallyleaf", 3, 960, 650);
    Booklist booklist = LoadBooklist(folder, services);

    // Each kind of run several times, the fastest of each taken: the pauses sleep a millisecond
    // at a time and vary with the machine's load.
    // A catalogue of one record that matches nothing: a file without records would be turned down
    // before the run begins.
    const std::string oneRecord = folder.File("bench-one-record.mrc");
    static constexpr char OneRecordBytes[] =
        "00044nam a2200037   4500245000600000\x1e"
        "10\x1f"
        "aX\x1e\x1d";
    std::FILE* created = std::fopen(oneRecord.c_str(), "wb");
    if (created) {
        std::fwrite(OneRecordBytes, 1, sizeof OneRecordBytes - 1, created);
        std::fclose(created);
    }
    double fixed = 1e9;
    double total = 1e9;
    ComparisonResult result;
    for (int run = 0; run < runs; ++run) {
        auto start = Clock::now();
        RunComparison(booklist, folder, oneRecord, {}, services);
        fixed = std::min(fixed, Seconds(Clock::now() - start));
        start = Clock::now();
        result = RunComparison(booklist, folder, catalogue, {}, services);
        total = std::min(total, Seconds(Clock::now() - start));
    }
    std::remove(oneRecord.c_str());
    std::printf("%lld records read, %lld matches\n", static_cast<long long>(result.recordsRead),
                static_cast<long long>(result.matches));
    std::printf("desktop run %.3f s, one-record run %.3f s: comparison %.3f s\n", total, fixed,
                total - fixed);
    return 0;
}
