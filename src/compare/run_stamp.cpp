#include "compare/run_stamp.h"

#include <charconv>
#include <random>

#include "base/regular_file.h"

namespace {

std::string Hex16(std::uint64_t value) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = Digits[value & 15];
    return text;
}

bool IsHex16(std::string_view text) {
    return text.size() == 16 &&
           text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

}  // namespace

std::string NewRunStamp() {
    std::random_device random;
    const std::uint64_t high = random();
    return Hex16(high << 32 ^ random());
}

void OutputDigest::Add(std::string_view bytes) {
    // FNV-1a: the output is a few megabytes at most, and the digest is taken while it is written.
    for (const char c : bytes) {
        hash_ ^= static_cast<unsigned char>(c);
        hash_ *= 0x100000001b3ull;
    }
    size_ += static_cast<std::int64_t>(bytes.size());
}

std::string OutputDigest::Hex() const {
    return Hex16(hash_);
}

std::string MatchesRunLine(std::string_view stamp) {
    return "#run " + std::string(stamp);
}

std::string ReviewRunLine(std::string_view stamp, const OutputDigest& output) {
    return "#run " + std::string(stamp) + " " + std::to_string(output.Size()) + " " + output.Hex();
}

bool ParseReviewRunLine(std::string_view line, ReviewRun& run) {
    if (!line.starts_with("#run ")) return false;
    line.remove_prefix(5);
    const std::size_t first = line.find(' ');
    const std::size_t second = line.find(' ', first + 1);
    if (first == std::string_view::npos || second == std::string_view::npos) return false;
    const std::string_view stamp = line.substr(0, first);
    const std::string_view size = line.substr(first + 1, second - first - 1);
    const std::string_view digest = line.substr(second + 1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(size.data(), size.data() + size.size(), value);
    if (!IsHex16(stamp) || !IsHex16(digest) || size.empty() || size.size() > 18 ||
        error != std::errc() || end != size.data() + size.size() || size[0] == '-' ||
        size[0] == '+') {
        return false;
    }
    run = {std::string(stamp), value, std::string(digest)};
    return true;
}

bool ResultsOfRun(const ReviewRun& run, std::string_view matches, std::string_view output) {
    if (!matches.starts_with(MatchesRunLine(run.stamp) + "\r\n")) return false;
    if (static_cast<std::int64_t>(output.size()) != run.outputSize) return false;
    OutputDigest digest;
    digest.Add(output);
    return digest.Hex() == run.outputDigest;
}

bool ResultsOfRun(const DataFolder& folder, const ReviewRun& run) {
    std::string reason;
    const std::optional<std::string> matches = ReadRegularFile(folder.Matches(), reason);
    const std::optional<std::string> output = ReadRegularFile(folder.Output(), reason);
    return matches && output && ResultsOfRun(run, *matches, *output);
}
