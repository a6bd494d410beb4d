#pragma once
#include "platform/dialogs.h"

// The main window: built once at start-up, then the event loop until the user ends the program.

// Builds the window and runs the start-up sequence up to the first fill of the list.
void StartMainWindow();
// Carries out one command of the main window; false for the commands that end the program.
bool DispatchMainCommand(const DialogEvent& event);
// Waits for the next command and carries it out; false when the program is to end.
bool HandleNextMainEvent();
void RunMainEventLoop();

// The whole program: working directory, fonts and colours, the main window and its loop. Returns
// the exit code.
int RunDesktopProgram();
