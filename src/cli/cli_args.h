#pragma once
#include <optional>
#include <string>
#include <vector>

// A small command-line reader: options with a value ("--dir DIR" or "--dir=DIR"), flags, and
// positional arguments. Anything it does not know is a usage error.
class CliArgs {
  public:
    CliArgs(std::vector<std::string> args, std::vector<std::string> valueOptions,
            std::vector<std::string> flagOptions);

    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }
    std::optional<std::string> Value(const std::string& option) const;
    bool Flag(const std::string& option) const;
    const std::vector<std::string>& Positional() const { return positional_; }

  private:
    std::vector<std::pair<std::string, std::string>> values_;
    std::vector<std::string> flags_;
    std::vector<std::string> positional_;
    std::string error_;
};

// The exit codes every command uses.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

// Prints "tallyleaf-cli: MESSAGE" on stderr and gives `code`.
int CliFail(int code, const std::string& message);

// A count with thousands separators and the word that goes with it: "1 match", "2,000 matches".
std::string CountOf(long long count, const std::string& one, const std::string& many);
