#pragma once
#include <string>
#include <string_view>

// The full path of a file in the working directory, as the user is shown it: the program opens
// its data files by bare name, but a message must say where they are.
std::string WorkingFolderPath(std::string_view name);
