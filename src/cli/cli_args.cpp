#include "cli/cli_args.h"

#include <algorithm>
#include <cstdio>

#include "base/text.h"

namespace {
bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}
}  // namespace

CliArgs::CliArgs(std::vector<std::string> args, std::vector<std::string> valueOptions,
                 std::vector<std::string> flagOptions) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size() && error_.empty(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || !arg.starts_with("-")) {
            positional_.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (Contains(valueOptions, name)) {
            if (equals != std::string::npos) {
                values_.emplace_back(name, arg.substr(equals + 1));
            } else if (i + 1 < args.size()) {
                values_.emplace_back(name, args[++i]);
            } else {
                error_ = "option " + name + " needs a value";
            }
        } else if (Contains(flagOptions, arg)) {
            flags_.push_back(arg);
        } else {
            error_ = "unknown option " + arg;
        }
    }
}

std::optional<std::string> CliArgs::Value(const std::string& option) const {
    std::optional<std::string> value;
    for (const auto& [name, text] : values_) {
        if (name == option) value = text;  // the last one given wins
    }
    return value;
}

bool CliArgs::Flag(const std::string& option) const {
    return Contains(flags_, option);
}

int CliFail(int code, const std::string& message) {
    std::fprintf(stderr, "tallyleaf-cli: %s\n", message.c_str());
    return code;
}

std::string CountOf(long long count, const std::string& one, const std::string& many) {
    return FormatThousands(count) + " " + (count == 1 ? one : many);
}
