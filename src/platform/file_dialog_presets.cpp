#include <deque>

#include "platform/file_dialog.h"

namespace {

struct FileDialogPresets {
    std::deque<std::string> answers;
    std::vector<FileDialogRequest> requests;
};

FileDialogPresets& State() {
    static FileDialogPresets state;
    return state;
}

}  // namespace

void PresetChosenFile(const std::string& path) {
    State().answers.push_back(path);
}

const std::vector<FileDialogRequest>& FileDialogRequests() {
    return State().requests;
}

void ResetFileDialogPresets() {
    State() = FileDialogPresets{};
}

std::optional<std::string> TakePresetFile(const FileDialogRequest& request) {
    FileDialogPresets& state = State();
    state.requests.push_back(request);
    if (state.answers.empty()) return std::nullopt;
    std::string path = std::move(state.answers.front());
    state.answers.pop_front();
    return path;
}
