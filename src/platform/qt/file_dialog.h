#pragma once
#include <optional>
#include <string>
#include <vector>

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

// Answers told in advance, for tests, taken in order by both forms of the dialog: a call with an
// answer waiting shows nothing and gives that path ("" for a cancelled dialog); a call without one
// shows the dialog. Every call is recorded; ResetPresets (platform/qt/presets.h) forgets both.
struct FileDialogRequest {
    std::string title;
    std::string defaultName;
    std::string defaultExtension;
    std::string filter;
    bool save = false;  // ChooseSaveFile rather than ChooseFile
    std::string startFolder;
};

void PresetChosenFile(const std::string& path);
// What the dialogs were asked since the last reset.
const std::vector<FileDialogRequest>& FileDialogRequests();
// For the implementations: records the request and gives the answer waiting, if any.
std::optional<std::string> TakePresetFile(const FileDialogRequest& request);
