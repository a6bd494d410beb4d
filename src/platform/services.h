#pragma once
#include <cstdint>
#include <string>

#include "platform/download.h"
#include "platform/message.h"

// What the program's procedures show and ask while they work: the progress window, the notice,
// the pause that lets windows repaint, the message box, the file dialogs, the download and the
// main window's title. The program hands its own to each procedure: the desktop's windows, the
// command line's console, or a test's double that answers as told.
class Services {
  public:
    virtual ~Services() = default;

    // The one progress window: a two-line caption, a counter line, a bar and an optional Cancel
    // button. Long operations drive it record by record, so every call must be cheap.
    virtual void OpenProgressWindow(const std::string& title, const std::string& caption,
                                    std::int64_t minimum, std::int64_t maximum,
                                    bool withCancel) = 0;
    virtual void SetProgressPosition(std::int64_t value) = 0;
    virtual void SetProgressCounter(const std::string& text) = 0;
    // Handles at most one pending window event without waiting: ProgressCancelId when the user
    // pressed Cancel, 0 when nothing was pending, another code for any other event.
    virtual int PollProgressWindow() = 0;
    virtual void CloseProgressWindow() = 0;

    // A small window telling the user to wait, with no progress to show and no buttons.
    virtual void OpenProgressNotice(const std::string& title, const std::string& message, int width,
                                    int height) = 0;
    virtual void CloseProgressNotice() = 0;

    // Waits about `milliseconds`, letting window events through so that windows repaint.
    virtual void PauseWithEvents(int milliseconds) = 0;

    // A message box; the answer of the pressed button. `defaultButton` is the position (from 1)
    // of the button that Return presses and that answers where nobody can.
    virtual MessageAnswer ShowMessage(const std::string& title, const std::string& text,
                                      MessageButtons buttons, MessageIcon icon,
                                      int defaultButton = 1) = 0;

    // The open-file dialog: the chosen file's full path, or "" when the user cancels. `filter`
    // is pairs of description and pattern, each followed by "|".
    virtual std::string ChooseFile(const std::string& title, const std::string& defaultName,
                                   const std::string& defaultExtension,
                                   const std::string& filter) = 0;
    // The same for a file to be written: it need not exist, and an existing one is taken without
    // a question, since the command that asked replaces it as a matter of course.
    virtual std::string ChooseSaveFile(const std::string& title, const std::string& defaultName,
                                       const std::string& defaultExtension,
                                       const std::string& filter) = 0;

    // Fetches `url` into the file `fileName`, complete or not at all (platform/download.h).
    virtual DownloadResult DownloadToFile(const std::string& url, const std::string& fileName,
                                          const DownloadLimits& limits) = 0;

    // The caption of the main window, where there is one.
    virtual void SetMainWindowTitle(const std::string& title) = 0;
};

// What PollProgressWindow returns when the user pressed Cancel (the button, Escape or Return).
inline constexpr int ProgressCancelId = 90;
