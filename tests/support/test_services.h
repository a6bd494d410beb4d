#pragma once
#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "booklist/data_folder.h"
#include "platform/services.h"

// The services as a test hands them to a procedure: nothing is shown and nothing waits. A test
// tells in advance what the user will do and reads back what the procedure showed and asked.
// Message boxes answer with their default button.
class TestServices : public Services {
  public:
    struct ProgressWindow {
        bool open = false;
        std::string title;
        std::string caption;
        std::string counter;
        std::int64_t minimum = 0;
        std::int64_t maximum = 0;
        std::int64_t position = 0;
        bool withCancel = false;
        int opened = 0;  // how many times the window was opened
    };
    struct Message {
        std::string title;
        std::string text;
        std::string buttons;
        std::string icon;
    };

    // The `pollNumber`-th poll of the progress window (counted from 1 after it opens) reports
    // Cancel, as if the user pressed it then; only a window with Cancel does. 0: never.
    void PresetCancelAtPoll(int pollNumber) { cancelAtPoll_ = pollNumber; }
    // Answers for the next file dialogs, in order ("" cancels); without one a dialog is cancelled.
    void PresetChosenFile(const std::string& path) { chosenFiles_.push_back(path); }

    const ProgressWindow& Progress() const { return progress_; }
    const std::vector<Message>& ShownMessages() const { return messages_; }
    const std::vector<std::string>& FileDialogTitles() const { return fileDialogTitles_; }
    const std::string& MainWindowTitle() const { return title_; }

    void OpenProgressWindow(const std::string& title, const std::string& caption,
                            std::int64_t minimum, std::int64_t maximum, bool withCancel) override;
    void SetProgressPosition(std::int64_t value) override;
    void SetProgressCounter(const std::string& text) override;
    int PollProgressWindow() override;
    void CloseProgressWindow() override { progress_.open = false; }
    void OpenProgressNotice(const std::string&, const std::string&, int, int) override {}
    void CloseProgressNotice() override {}
    void PauseWithEvents(int) override {}
    int ShowMessage(const std::string& title, const std::string& text, const std::string& buttons,
                    const std::string& icon, int defaultButton) override;
    std::string ChooseFile(const std::string& title, const std::string&, const std::string&,
                           const std::string&) override;
    // No network: the download fails and the file is left as it was.
    DownloadResult DownloadToFile(const std::string&, const std::string&,
                                  const DownloadLimits&) override {
        return {false, "no network in this test"};
    }
    void SetMainWindowTitle(const std::string& title) override { title_ = title; }

  private:
    ProgressWindow progress_;
    int polls_ = 0;
    int cancelAtPoll_ = 0;
    std::deque<std::string> chosenFiles_;
    std::vector<Message> messages_;
    std::vector<std::string> fileDialogTitles_;
    std::string title_;
};

// The data folder of the test folder that is the current directory.
DataFolder CurrentDataFolder();
