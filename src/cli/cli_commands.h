#pragma once
#include <string>
#include <vector>

// Each command takes the arguments after its name and returns the process exit code.
int RunExportCommand(const std::vector<std::string>& args);
int RunCompareCommand(const std::vector<std::string>& args);
int RunPrintCommand(const std::vector<std::string>& args);

// The program that carries out the print command.
inline constexpr const char* PrintProgramName = "tallyleaf-cli-print";

// Makes DIR the working directory and loads its booklist as the desktop program does. Returns
// ExitOk, or prints a message naming the file and returns the failure code.
// For a comparison the earlier matches are not merged, as the comparison clears them.
int LoadDataFolder(const std::string& dir, bool forComparison = false);

// A path given relative to the directory the tool was started in, made absolute before the
// working directory changes.
std::string AbsoluteFromStart(const std::string& path);
