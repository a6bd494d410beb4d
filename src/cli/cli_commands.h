#pragma once
#include <optional>
#include <string>
#include <vector>

#include "booklist/booklist.h"
#include "booklist/data_folder.h"
#include "platform/services.h"

// Each command takes the arguments after its name and returns the process exit code. Those that
// work on the booklist load it into the one they are handed.
int RunExportCommand(const std::vector<std::string>& args, Booklist& booklist);
int RunCompareCommand(const std::vector<std::string>& args, Booklist& booklist);
int RunPrintCommand(const std::vector<std::string>& args);
int RunReviewCommand(const std::vector<std::string>& args);
int RunUnmatchCommand(const std::vector<std::string>& args, Booklist& booklist);
int RunImportCommand(const std::vector<std::string>& args, Booklist& booklist);

// The program that carries out the print command.
inline constexpr const char* PrintProgramName = "tallyleaf-cli-print";

// Loads the booklist of `folder`, the data folder given as `dir`, into `booklist`, as the desktop
// program does. Returns ExitOk, or prints a message naming the file (under the name `dir` gives
// it) and returns the failure code. `options` names the parts of the booklist the command reads.
int LoadDataFolder(const DataFolder& folder, const std::string& dir, Services& services,
                   Booklist& booklist, const BooklistLoadOptions& options);

// The data folder a command works on: --dir when given, else TALLYLEAF_DIR when set (the folder
// the desktop program also uses then), else the current directory.
std::string DataFolderArgument(const std::optional<std::string>& dirOption);

// A path given on the command line, made absolute, so that a message names the file plainly.
std::string AbsoluteFromStart(const std::string& path);
