#pragma once
#include <string>

#include "app/filter_state.h"
#include "booklist/booklist.h"
#include "booklist/data_folder.h"
#include "maintenance/server_address.h"
#include "platform/dialogs.h"
#include "platform/services.h"

// The main window: built once at start-up, then the event loop until the user ends the program.

// What the main window works with, handed to every command: the data folder, the programme's
// server and the services the procedures report through, decided once at start-up; the booklist
// loaded, and the filters the selectors set.
struct DesktopSession {
    DataFolder folder;
    ServerAddress server;
    Services& services;
    Booklist booklist;
    FilterState filters;
    // The rows the last fill listed, before any were taken out with Delete.
    std::size_t listed = 0;
};

// Builds the window and runs the start-up sequence up to the first fill of the list.
void StartMainWindow(DesktopSession& session);
// Carries out one command of the main window; false for the commands that end the program.
bool DispatchMainCommand(DesktopSession& session, const DialogEvent& event);
// Waits for the next command and carries it out; false when the program is to end.
bool HandleNextMainEvent(DesktopSession& session);
void RunMainEventLoop(DesktopSession& session);

// The whole program: data folder, server, fonts and colours, the main window and its loop.
// Returns the exit code.
int RunDesktopProgram();
