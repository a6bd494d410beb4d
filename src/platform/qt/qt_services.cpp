#include "platform/qt/qt_services.h"

#include "platform/qt/download.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/message.h"
#include "platform/qt/pause.h"
#include "platform/qt/progress.h"
#include "platform/qt/progress_notice.h"
#include "platform/qt/window_title.h"

void QtServices::OpenProgressWindow(const std::string& title, const std::string& caption,
                                    std::int64_t minimum, std::int64_t maximum, bool withCancel) {
    ::OpenProgressWindow(title, caption, minimum, maximum, withCancel);
}
void QtServices::SetProgressPosition(std::int64_t value) {
    ::SetProgressPosition(value);
}
void QtServices::SetProgressCounter(const std::string& text) {
    ::SetProgressCounter(text);
}
int QtServices::PollProgressWindow() {
    return ::PollProgressWindow();
}
void QtServices::CloseProgressWindow() {
    ::CloseProgressWindow();
}
void QtServices::OpenProgressNotice(const std::string& title, const std::string& message, int width,
                                    int height) {
    ::OpenProgressNotice(title, message, width, height);
}
void QtServices::CloseProgressNotice() {
    ::CloseProgressNotice();
}
void QtServices::PauseWithEvents(int milliseconds) {
    ::PauseWithEvents(milliseconds);
}
MessageAnswer QtServices::ShowMessage(const std::string& title, const std::string& text,
                                      MessageButtons buttons, MessageIcon icon, int defaultButton) {
    return ::ShowMessage(title, text, buttons, icon, defaultButton);
}
std::string QtServices::ChooseFile(const std::string& title, const std::string& defaultName,
                                   const std::string& defaultExtension, const std::string& filter) {
    return ::ChooseFile(title, defaultName, defaultExtension, filter, fileFolder_);
}
std::string QtServices::ChooseSaveFile(const std::string& title, const std::string& defaultName,
                                       const std::string& defaultExtension,
                                       const std::string& filter) {
    return ::ChooseSaveFile(title, defaultName, defaultExtension, filter, fileFolder_);
}
DownloadResult QtServices::DownloadToFile(const std::string& url, const std::string& fileName,
                                          const DownloadLimits& limits) {
    return ::DownloadToFile(url, fileName, limits);
}
void QtServices::SetMainWindowTitle(const std::string& title) {
    ::SetMainWindowTitle(title);
}
