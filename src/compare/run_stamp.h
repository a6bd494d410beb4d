#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "booklist/data_folder.h"

// The three results of a run (a comparison or a take-back), "OUTPUT.MRC", "Matches.tul" and
// "MatchReview.txt", are put in place together, under one stamp the run draws: "Matches.tul"
// begins with the line "#run STAMP", and "MatchReview.txt" with "#run STAMP SIZE DIGEST", the size
// and digest of the "OUTPUT.MRC" written with it. "OUTPUT.MRC" itself is left as the library
// system imports it. A crash between two of them, or a second copy of the program, can then be
// told from one run's results.

// 16 random hex digits.
std::string NewRunStamp();

// The digest of a file's bytes, taken as they are written.
class OutputDigest {
  public:
    void Add(std::string_view bytes);
    std::int64_t Size() const { return size_; }
    std::string Hex() const;

  private:
    std::uint64_t hash_ = 0xcbf29ce484222325ull;
    std::int64_t size_ = 0;
};

std::string MatchesRunLine(std::string_view stamp);
std::string ReviewRunLine(std::string_view stamp, const OutputDigest& output);

// The stamp of the review's run line, with the size and digest it gives; nothing when `line` is
// not such a line.
struct ReviewRun {
    std::string stamp;
    std::int64_t outputSize = 0;
    std::string outputDigest;
};
bool ParseReviewRunLine(std::string_view line, ReviewRun& run);

inline constexpr const char* MixedRunsText =
    "The results of two runs are mixed; run the comparison again.";

// Whether "Matches.tul" and "OUTPUT.MRC" are those written with the review of `run`: from the
// folder, or from their contents as read.
bool ResultsOfRun(const DataFolder& folder, const ReviewRun& run);
bool ResultsOfRun(const ReviewRun& run, std::string_view matches, std::string_view output);
