#pragma once
#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "booklist/data_folder.h"
#include "platform/services.h"

// The services as a test hands them to a procedure or a window. A test tells in advance what the
// user will do and reads back what was shown and asked. Alone, nothing is shown and nothing waits:
// a message box without an answer told answers with its default button, a file dialog without one
// is cancelled, and nothing is downloaded. Given the program's own services (`shown`), as the
// window tests do, everything is passed on to them as well, and a box or dialog without an answer
// told is really shown.
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
        MessageButtons buttons;
        MessageIcon icon;
        int defaultButton;
    };
    struct FileDialog {
        std::string title;
        std::string defaultName;
        std::string defaultExtension;
        std::string filter;
        bool save;  // a file to be written rather than one to open
    };

    explicit TestServices(Services* shown = nullptr) : shown_(shown) {}

    // The `pollNumber`-th poll of the progress window (counted from 1 after it opens) reports
    // Cancel, as if the user pressed it then; only a window with Cancel does. 0: never.
    void PresetCancelAtPoll(int pollNumber) { cancelAtPoll_ = pollNumber; }
    // Answers for the next file dialogs of either kind, in order ("" cancels).
    void PresetChosenFile(const std::string& path) { chosenFiles_.push_back(path); }
    // Answers for the next message boxes, in order.
    void PresetMessageAnswer(MessageAnswer answer) { answers_.push_back(answer); }

    const ProgressWindow& Progress() const { return progress_; }
    const std::vector<Message>& ShownMessages() const { return messages_; }
    const std::vector<FileDialog>& FileDialogs() const { return fileDialogs_; }
    const std::string& MainWindowTitle() const { return title_; }

    void OpenProgressWindow(const std::string& title, const std::string& caption,
                            std::int64_t minimum, std::int64_t maximum, bool withCancel) override;
    void SetProgressPosition(std::int64_t value) override;
    void SetProgressCounter(const std::string& text) override;
    int PollProgressWindow() override;
    void CloseProgressWindow() override;
    void OpenProgressNotice(const std::string& title, const std::string& message, int width,
                            int height) override;
    void CloseProgressNotice() override;
    void PauseWithEvents(int milliseconds) override;
    MessageAnswer ShowMessage(const std::string& title, const std::string& text,
                              MessageButtons buttons, MessageIcon icon,
                              int defaultButton = 1) override;
    std::string ChooseFile(const std::string& title, const std::string& defaultName,
                           const std::string& defaultExtension, const std::string& filter) override;
    std::string ChooseSaveFile(const std::string& title, const std::string& defaultName,
                               const std::string& defaultExtension,
                               const std::string& filter) override;
    // Without the program's services there is no network: the download fails and the file is
    // left as it was.
    DownloadResult DownloadToFile(const std::string& url, const std::string& fileName,
                                  const DownloadLimits& limits) override;
    void SetMainWindowTitle(const std::string& title) override;

  private:
    std::string TakeChosenFile(const FileDialog& dialog);

    Services* shown_;
    ProgressWindow progress_;
    int polls_ = 0;
    int cancelAtPoll_ = 0;
    std::deque<std::string> chosenFiles_;
    std::deque<MessageAnswer> answers_;
    std::vector<Message> messages_;
    std::vector<FileDialog> fileDialogs_;
    std::string title_;
};

// The data folder of the test folder that is the current directory.
DataFolder CurrentDataFolder();
