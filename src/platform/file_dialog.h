#pragma once
#include <optional>
#include <string>
#include <vector>

// Shows the platform's open-file dialog over the active window, starting in the platform's
// default folder, and gives the chosen file's full path, or "" when the user cancels. `filter` is
// pairs of description and pattern, each item followed by "|" ("Text | *.TXT | All Files | * ||");
// a pattern "*.*" stands for every file. `defaultName` is proposed in the file-name box. Only an
// existing file can be chosen; the working directory stays as it was.
std::string ChooseFile(const std::string& title, const std::string& defaultName,
                       const std::string& defaultExtension, const std::string& filter);

// The same dialog for a file to be written, such as an export target: the file need not exist,
// and an existing one is taken without a question, since the command that asked replaces it as a
// matter of course. The name comes back as the user gave it; no extension is added.
std::string ChooseSaveFile(const std::string& title, const std::string& defaultName,
                           const std::string& defaultExtension, const std::string& filter);

// Answers told in advance, for tests, and taken in order by both forms of the dialog, headless or
// on the desktop: a call with an answer waiting shows nothing and gives that path ("" for a
// cancelled dialog). The headless dialog takes a call without an answer as cancelled; the desktop
// one shows itself. Every call is recorded.
struct FileDialogRequest {
    std::string title;
    std::string defaultName;
    std::string defaultExtension;
    std::string filter;
    bool save = false;  // ChooseSaveFile rather than ChooseFile
};

void PresetChosenFile(const std::string& path);
// What the dialogs were asked since the last reset.
const std::vector<FileDialogRequest>& FileDialogRequests();
// Each layer's reset calls it (headless::Reset, ResetWindowServices).
void ResetFileDialogPresets();
// For the implementations: records the request and gives the answer waiting, if any.
std::optional<std::string> TakePresetFile(const FileDialogRequest& request);
