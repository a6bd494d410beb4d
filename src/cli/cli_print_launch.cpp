#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/cli_commands.h"

namespace {

namespace fs = std::filesystem;

// Beside this program in a build tree; in the library folder of the installed tree.
fs::path PrintProgram() {
    std::error_code error;
    const fs::path here = fs::read_symlink("/proc/self/exe", error).parent_path();
    for (const fs::path& candidate :
         {here / PrintProgramName, here / ".." / "libexec" / "tallyleaf" / PrintProgramName}) {
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return here / ".." / "libexec" / "tallyleaf" / PrintProgramName;
}

}  // namespace

// Printing draws through Qt, whose libraries take longer to load than a small comparison takes
// as a whole: it is a program of its own, so that the other commands start without them.
int RunPrintCommand(const std::vector<std::string>& args) {
    const std::string program = PrintProgram().lexically_normal().string();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::fflush(nullptr);
    ::execv(program.c_str(), argv.data());
    return CliFail(ExitFailure,
                   "print is not available: cannot run " + program + ": " + std::strerror(errno));
}
