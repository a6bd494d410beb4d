#pragma once
#include <string>

// Shows the platform's open-file dialog over the active window, starting in the platform's
// default folder, and gives the chosen file's full path, or "" when the user cancels. `filter` is
// pairs of description and pattern, each item followed by "|" ("Text | *.TXT | All Files | * ||");
// a pattern "*.*" stands for every file. `defaultName` is proposed in the file-name box. Only an
// existing file can be chosen; the working directory stays as it was.
std::string ChooseFile(const std::string& title, const std::string& defaultName,
                       const std::string& defaultExtension, const std::string& filter);
