#pragma once
#include <string>

// Shows the platform's open-file dialog over the active window, starting in `startFolder` (the
// process's current folder when empty), and gives the chosen file's full path, or "" when the user
// cancels. `filter` is pairs of description and pattern, each item followed by "|" ("Text | *.TXT |
// All Files | * ||"); a pattern "*.*" stands for every file. `defaultName` is proposed in the
// file-name box. Only an existing file can be chosen.
std::string ChooseFile(const std::string& title, const std::string& defaultName,
                       const std::string& defaultExtension, const std::string& filter,
                       const std::string& startFolder);

// The same dialog for a file to be written, such as an export target: the file need not exist,
// and an existing one is taken without a question, since the command that asked replaces it as a
// matter of course. The name comes back as the user gave it; no extension is added.
std::string ChooseSaveFile(const std::string& title, const std::string& defaultName,
                           const std::string& defaultExtension, const std::string& filter,
                           const std::string& startFolder);
