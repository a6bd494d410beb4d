// The print command of tallyleaf-cli, which runs this program with the arguments after "print".
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/terminal_text.h"

int main(int argc, char** argv) {
    UseTerminalEncoding();
    return RunPrintCommand(std::vector<std::string>(argv + 1, argv + argc));
}
