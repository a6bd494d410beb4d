#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The headless side of the platform services, for the tests and the command-line tool. Nothing is
// shown and nothing sleeps; a test presets what the user will do and reads back what was asked.
namespace headless {

struct ProgressState {
    bool open = false;
    std::string title;
    std::string caption;
    std::string counter;
    std::int64_t minimum = 0;
    std::int64_t maximum = 0;
    std::int64_t position = 0;
    bool withCancel = false;
    int opened = 0;  // how many times the window was opened since the last reset
};

struct NoticeState {
    bool open = false;
    std::string title;
    std::string message;
    int width = 0;
    int height = 0;
    int opened = 0;  // how many times a notice was opened since the last reset
};

struct ShownMessage {
    std::string title;
    std::string text;
    std::string buttons;
    std::string icon;
    int defaultButton = 0;
};

// Back to a fresh start: no window, no presets (file-dialog answers too), nothing recorded, no
// list comparator.
void Reset();

// The `pollNumber`-th call of PollProgressWindow (counted from 1 after the window is opened)
// reports Cancel, as if the user pressed it then. 0 means never.
void PresetCancelAtPoll(int pollNumber);
// Answers for the next message boxes, in order; when none is left the default button is pressed.
void PresetMessageAnswer(int result);
// A progress bar drawn on stderr, for the command-line tool on a terminal.
void EchoProgressToStderr(bool on);

const ProgressState& Progress();
const NoticeState& Notice();
int PollCount();
const std::vector<ShownMessage>& ShownMessages();
std::int64_t PausedMilliseconds();
const std::string& MainWindowTitle();

}  // namespace headless
