#include "platform/headless/headless.h"

#include <cstdio>
#include <deque>

#include "platform/column_sort.h"
#include "platform/file_dialog.h"
#include "platform/message.h"
#include "platform/message_codes.h"
#include "platform/pause.h"
#include "platform/progress.h"
#include "platform/progress_notice.h"
#include "platform/window_title.h"

namespace {

struct HeadlessState {
    headless::ProgressState progress;
    headless::NoticeState notice;
    int polls = 0;
    int cancelAtPoll = 0;
    std::deque<int> answers;
    std::vector<headless::ShownMessage> messages;
    std::int64_t pausedMilliseconds = 0;
    std::string title;
    bool echo = false;
    int echoedPercent = -1;
};

HeadlessState& State() {
    static HeadlessState state;
    return state;
}

void EchoBar() {
    auto& s = State();
    const auto& p = s.progress;
    const std::int64_t span = p.maximum - p.minimum;
    int percent = span > 0 ? static_cast<int>((p.position - p.minimum) * 100 / span) : 100;
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    if (percent == s.echoedPercent) return;
    s.echoedPercent = percent;
    const int filled = percent * 40 / 100;
    std::fprintf(stderr, "\r[%.*s%*s] %3d%%", filled, "########################################",
                 40 - filled, "", percent);
    std::fflush(stderr);
}

}  // namespace

namespace headless {

void Reset() {
    auto& s = State();
    const bool echo = s.echo;
    s = HeadlessState{};
    s.echo = echo;
    ResetFileDialogPresets();
    ResetColumnSort();
}

void PresetCancelAtPoll(int pollNumber) {
    State().cancelAtPoll = pollNumber;
}
void PresetMessageAnswer(int result) {
    State().answers.push_back(result);
}
void EchoProgressToStderr(bool on) {
    State().echo = on;
}
const ProgressState& Progress() {
    return State().progress;
}
const NoticeState& Notice() {
    return State().notice;
}
int PollCount() {
    return State().polls;
}
const std::vector<ShownMessage>& ShownMessages() {
    return State().messages;
}
std::int64_t PausedMilliseconds() {
    return State().pausedMilliseconds;
}
const std::string& MainWindowTitle() {
    return State().title;
}

}  // namespace headless

void OpenProgressWindow(const std::string& title, const std::string& caption, std::int64_t minimum,
                        std::int64_t maximum, bool withCancel) {
    auto& s = State();
    const int opened = s.progress.opened + 1;
    s.progress = headless::ProgressState{true,    title,   caption,    "",    minimum,
                                         maximum, minimum, withCancel, opened};
    s.polls = 0;
    s.echoedPercent = -1;
    if (s.echo) EchoBar();
}

void SetProgressPosition(std::int64_t value) {
    auto& s = State();
    if (!s.progress.open) return;
    s.progress.position = value;
    if (s.echo) EchoBar();
}

void SetProgressCounter(const std::string& text) {
    auto& s = State();
    if (s.progress.open) s.progress.counter = text;
}

int PollProgressWindow() {
    auto& s = State();
    if (!s.progress.open) return 0;
    ++s.polls;
    if (s.progress.withCancel && s.cancelAtPoll > 0 && s.polls == s.cancelAtPoll) {
        return ProgressCancelId;
    }
    return 0;
}

void CloseProgressWindow() {
    auto& s = State();
    if (!s.progress.open) return;
    s.progress.open = false;
    if (s.echo) std::fputs("\n", stderr);
}

void OpenProgressNotice(const std::string& title, const std::string& message, int width,
                        int height) {
    auto& notice = State().notice;
    notice = {true, title, message, width, height, notice.opened + 1};
}

void CloseProgressNotice() {
    State().notice.open = false;
}

void PauseWithEvents(int milliseconds) {
    if (milliseconds > 0) State().pausedMilliseconds += milliseconds;
}

int ShowMessage(const std::string& title, const std::string& text, const std::string& buttons,
                const std::string& icon, int defaultButton) {
    auto& s = State();
    s.messages.push_back({title, text, buttons, icon, defaultButton});
    const MessageBoxRequest request = DecodeMessageCodes(buttons, icon, defaultButton);
    if (!s.answers.empty()) {
        const int answer = s.answers.front();
        s.answers.pop_front();
        return answer;
    }
    return MessageButtonResult(request.buttons, request.defaultPosition);
}

void SetMainWindowTitle(const std::string& title) {
    State().title = title;
}
