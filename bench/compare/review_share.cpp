// What the review costs a comparison: the same comparison timed with the review and without it,
// in turn, and the difference as a share of the whole.
//
//   tallyleaf_review_share FOLDER CATALOGUE [RUNS]
//
// FOLDER holds the booklist; the results are written there.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/console_services.h"
#include "compare/matching.h"

namespace {

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tallyleaf_review_share FOLDER CATALOGUE [RUNS]\n");
        return 2;
    }
    const DataFolder folder(argv[1]);
    const std::string catalogue = argv[2];
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 15;
    ConsoleServices services;
    const Booklist loaded = LoadBooklist(folder, services);
    std::vector<double> with, without;
    for (int i = 0; i < 2 * runs; ++i) {
        Booklist booklist = loaded;
        ComparisonOptions options;
        options.reviewed = i % 2 == 0;
        const auto start = std::chrono::steady_clock::now();
        RunComparison(booklist, folder, catalogue, options, services);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        (options.reviewed ? with : without).push_back(took.count());
    }
    const double reviewed = Median(with);
    const double bare = Median(without);
    std::printf("review's share of a comparison: %.1f%% (%.0f ms with it, %.0f ms without)\n",
                100 * (reviewed - bare) / reviewed, reviewed, bare);
    return 0;
}
