#pragma once
#include "platform/services.h"

// The command line's services. Nothing waits for a user: a message box answers with its default
// button and shows nothing (each command prints what it has to say itself), a file dialog is
// cancelled, a pause does not wait, and nothing is downloaded. The progress window, where a
// command shows it, is a single line on stderr redrawn in place, and only when stderr is a
// terminal.
class ConsoleServices : public Services {
  public:
    enum class Progress { Hidden, OnTerminal };
    explicit ConsoleServices(Progress progress = Progress::Hidden);

    void OpenProgressWindow(const std::string& title, const std::string& caption,
                            std::int64_t minimum, std::int64_t maximum, bool withCancel) override;
    void SetProgressPosition(std::int64_t value) override;
    void SetProgressCounter(const std::string&) override {}
    int PollProgressWindow() override { return 0; }
    void CloseProgressWindow() override;
    void OpenProgressNotice(const std::string&, const std::string&, int, int) override {}
    void CloseProgressNotice() override {}
    void PauseWithEvents(int) override {}
    MessageAnswer ShowMessage(const std::string& title, const std::string& text,
                              MessageButtons buttons, MessageIcon icon,
                              int defaultButton = 1) override;
    std::string ChooseFile(const std::string&, const std::string&, const std::string&,
                           const std::string&) override {
        return {};
    }
    std::string ChooseSaveFile(const std::string&, const std::string&, const std::string&,
                               const std::string&) override {
        return {};
    }
    DownloadResult DownloadToFile(const std::string&, const std::string&,
                                  const DownloadLimits&) override {
        return {false, "the command line fetches nothing"};
    }
    void SetMainWindowTitle(const std::string&) override {}

  private:
    void DrawBar();

    bool terminal_;
    bool open_ = false;
    std::int64_t minimum_ = 0;
    std::int64_t maximum_ = 0;
    std::int64_t position_ = 0;
    int drawnPercent_ = -1;
};
