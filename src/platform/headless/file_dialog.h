#pragma once
#include <string>
#include <vector>

// The headless open-file dialog: a test says in advance which file the user picks.
namespace headless {

struct FileRequest {
    std::string title;
    std::string defaultName;
    std::string defaultExtension;
    std::string filter;
};

// Answers for the next ChooseFile calls, in order; "" is a cancelled dialog, and so is a call
// when no answer is left.
void PresetChosenFile(const std::string& path);
// What ChooseFile was asked since the last reset.
const std::vector<FileRequest>& FileRequests();
void ResetFileDialog();

}  // namespace headless
