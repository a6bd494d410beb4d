#include "cli/cli_args.h"
#include "cli/cli_commands.h"

// This build has no window system, and printing draws through it.
int RunPrintCommand(const std::vector<std::string>&) {
    return CliFail(ExitFailure, "print is not available in this build (it was built without Qt)");
}
