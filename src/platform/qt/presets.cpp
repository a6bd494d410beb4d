#include "platform/qt/presets.h"

#include <deque>

#include "platform/qt/file_dialog.h"

namespace {

struct Presets {
    std::deque<int> messageAnswers;
    std::vector<MessageRequest> messages;
    int cancelAtPoll = 0;
    std::deque<std::string> chosenFiles;
    std::vector<FileDialogRequest> fileRequests;
};

Presets& State() {
    static Presets presets;
    return presets;
}

}  // namespace

void PresetMessageAnswer(int result) {
    State().messageAnswers.push_back(result);
}

const std::vector<MessageRequest>& MessageRequests() {
    return State().messages;
}

void PresetCancelAtPoll(int pollNumber) {
    State().cancelAtPoll = pollNumber;
}

std::optional<int> TakePresetMessageAnswer(const MessageRequest& request) {
    Presets& s = State();
    s.messages.push_back(request);
    if (s.messageAnswers.empty()) return std::nullopt;
    const int answer = s.messageAnswers.front();
    s.messageAnswers.pop_front();
    return answer;
}

int PresetCancelPoll() {
    return State().cancelAtPoll;
}

void ResetPresets() {
    State() = Presets{};
}

void PresetChosenFile(const std::string& path) {
    State().chosenFiles.push_back(path);
}

const std::vector<FileDialogRequest>& FileDialogRequests() {
    return State().fileRequests;
}

std::optional<std::string> TakePresetFile(const FileDialogRequest& request) {
    Presets& s = State();
    s.fileRequests.push_back(request);
    if (s.chosenFiles.empty()) return std::nullopt;
    std::string path = std::move(s.chosenFiles.front());
    s.chosenFiles.pop_front();
    return path;
}
