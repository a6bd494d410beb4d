#pragma once
#include <string>

// What `command` prints on its standard output.
std::string CommandOutput(const std::string& command);
