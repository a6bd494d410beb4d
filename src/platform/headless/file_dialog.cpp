#include "platform/headless/file_dialog.h"

#include <deque>

#include "platform/file_dialog.h"

namespace {

struct FileDialogState {
    std::deque<std::string> answers;
    std::vector<headless::FileRequest> requests;
};

FileDialogState& State() {
    static FileDialogState state;
    return state;
}

}  // namespace

namespace headless {

void PresetChosenFile(const std::string& path) {
    State().answers.push_back(path);
}
const std::vector<FileRequest>& FileRequests() {
    return State().requests;
}
void ResetFileDialog() {
    State() = FileDialogState{};
}

}  // namespace headless

std::string ChooseFile(const std::string& title, const std::string& defaultName,
                       const std::string& defaultExtension, const std::string& filter) {
    auto& state = State();
    state.requests.push_back({title, defaultName, defaultExtension, filter});
    if (state.answers.empty()) return {};
    std::string path = state.answers.front();
    state.answers.pop_front();
    return path;
}
