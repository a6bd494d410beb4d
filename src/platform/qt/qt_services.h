#pragma once
#include <string>

#include "platform/services.h"

// The desktop's services: the progress window, notice and message box of platform/qt, the file
// dialog opening in the data folder, the download over Qt's network service, and the main
// window's title.
class QtServices : public Services {
  public:
    // `fileFolder`: where the file dialogs start.
    explicit QtServices(std::string fileFolder = {}) : fileFolder_(std::move(fileFolder)) {}

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
    DownloadResult DownloadToFile(const std::string& url, const std::string& fileName,
                                  const DownloadLimits& limits) override;
    void SetMainWindowTitle(const std::string& title) override;

  private:
    std::string fileFolder_;
};
