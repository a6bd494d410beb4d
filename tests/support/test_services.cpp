#include "support/test_services.h"

#include "platform/message_codes.h"

void TestServices::OpenProgressWindow(const std::string& title, const std::string& caption,
                                      std::int64_t minimum, std::int64_t maximum, bool withCancel) {
    progress_ = {
        true, title, caption, "", minimum, maximum, minimum, withCancel, progress_.opened + 1};
    polls_ = 0;
}

void TestServices::SetProgressPosition(std::int64_t value) {
    if (progress_.open) progress_.position = value;
}

void TestServices::SetProgressCounter(const std::string& text) {
    if (progress_.open) progress_.counter = text;
}

int TestServices::PollProgressWindow() {
    if (!progress_.open) return 0;
    ++polls_;
    return progress_.withCancel && polls_ == cancelAtPoll_ ? ProgressCancelId : 0;
}

int TestServices::ShowMessage(const std::string& title, const std::string& text,
                              const std::string& buttons, const std::string& icon,
                              int defaultButton) {
    messages_.push_back({title, text, buttons, icon});
    const MessageBoxRequest request = DecodeMessageCodes(buttons, icon, defaultButton);
    return MessageButtonResult(request.buttons, request.defaultPosition);
}

std::string TestServices::ChooseFile(const std::string& title, const std::string&,
                                     const std::string&, const std::string&) {
    fileDialogTitles_.push_back(title);
    if (chosenFiles_.empty()) return {};
    std::string path = std::move(chosenFiles_.front());
    chosenFiles_.pop_front();
    return path;
}

DataFolder CurrentDataFolder() {
    return DataFolder(std::filesystem::current_path().string());
}
