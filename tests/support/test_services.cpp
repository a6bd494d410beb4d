#include "support/test_services.h"

void TestServices::OpenProgressWindow(const std::string& title, const std::string& caption,
                                      std::int64_t minimum, std::int64_t maximum, bool withCancel) {
    progress_ = {
        true, title, caption, "", minimum, maximum, minimum, withCancel, progress_.opened + 1};
    polls_ = 0;
    if (shown_) shown_->OpenProgressWindow(title, caption, minimum, maximum, withCancel);
}

void TestServices::SetProgressPosition(std::int64_t value) {
    if (progress_.open) progress_.position = value;
    if (shown_) shown_->SetProgressPosition(value);
}

void TestServices::SetProgressCounter(const std::string& text) {
    if (progress_.open) progress_.counter = text;
    if (shown_) shown_->SetProgressCounter(text);
}

int TestServices::PollProgressWindow() {
    if (!progress_.open) return 0;
    // Counted before the window is asked, so that a preset Cancel arrives at the same record
    // every run, however the window throttles its polls.
    if (++polls_ == cancelAtPoll_ && progress_.withCancel) return ProgressCancelId;
    return shown_ ? shown_->PollProgressWindow() : 0;
}

void TestServices::CloseProgressWindow() {
    progress_.open = false;
    if (shown_) shown_->CloseProgressWindow();
}

void TestServices::OpenProgressNotice(const std::string& title, const std::string& message,
                                      int width, int height) {
    if (shown_) shown_->OpenProgressNotice(title, message, width, height);
}

void TestServices::CloseProgressNotice() {
    if (shown_) shown_->CloseProgressNotice();
}

void TestServices::PauseWithEvents(int milliseconds) {
    if (shown_) shown_->PauseWithEvents(milliseconds);
}

MessageAnswer TestServices::ShowMessage(const std::string& title, const std::string& text,
                                        MessageButtons buttons, MessageIcon icon,
                                        int defaultButton) {
    messages_.push_back({title, text, buttons, icon, defaultButton});
    if (!answers_.empty()) {
        const MessageAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    if (shown_) return shown_->ShowMessage(title, text, buttons, icon, defaultButton);
    return MessageButtonAnswer(buttons, defaultButton);
}

std::string TestServices::TakeChosenFile(const FileDialog& dialog) {
    fileDialogs_.push_back(dialog);
    if (!chosenFiles_.empty()) {
        std::string path = std::move(chosenFiles_.front());
        chosenFiles_.pop_front();
        return path;
    }
    if (!shown_) return {};
    return dialog.save ? shown_->ChooseSaveFile(dialog.title, dialog.defaultName,
                                                dialog.defaultExtension, dialog.filter)
                       : shown_->ChooseFile(dialog.title, dialog.defaultName,
                                            dialog.defaultExtension, dialog.filter);
}

std::string TestServices::ChooseFile(const std::string& title, const std::string& defaultName,
                                     const std::string& defaultExtension,
                                     const std::string& filter) {
    return TakeChosenFile({title, defaultName, defaultExtension, filter, false});
}

std::string TestServices::ChooseSaveFile(const std::string& title, const std::string& defaultName,
                                         const std::string& defaultExtension,
                                         const std::string& filter) {
    return TakeChosenFile({title, defaultName, defaultExtension, filter, true});
}

DownloadResult TestServices::DownloadToFile(const std::string& url, const std::string& fileName,
                                            const DownloadLimits& limits) {
    if (shown_) return shown_->DownloadToFile(url, fileName, limits);
    return {false, "no network in this test"};
}

void TestServices::SetMainWindowTitle(const std::string& title) {
    title_ = title;
    if (shown_) shown_->SetMainWindowTitle(title);
}

DataFolder CurrentDataFolder() {
    return DataFolder(std::filesystem::current_path().string());
}
