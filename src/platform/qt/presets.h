#pragma once
#include <optional>
#include <string>
#include <vector>

// What the user will answer in the desktop's modal windows, told in advance, so that a test never
// has to reach into a window that blocks it. Each preset is taken once, in order;
// ResetWindowServices drops what is left. File dialogs take PresetChosenFile
// (platform/qt/file_dialog.h).

struct MessageRequest {
    std::string title;
    std::string text;
    std::string buttons;
    std::string icon;
    int defaultButton = 0;
};

// Answers for the next message boxes: a box with an answer waiting is not shown.
void PresetMessageAnswer(int result);
// Every ShowMessage since the last reset, whoever answered it.
const std::vector<MessageRequest>& MessageRequests();

// The `pollNumber`-th call of PollProgressWindow (counted from 1 after the window opens) reports
// Cancel, as if the user pressed it then; only a window with Cancel does. 0 means never.
void PresetCancelAtPoll(int pollNumber);

// For the services: records the request and gives the answer waiting, if any.
std::optional<int> TakePresetMessageAnswer(const MessageRequest& request);
int PresetCancelPoll();
// Drops every preset, the file dialogs' too, and what was recorded.
void ResetPresets();
