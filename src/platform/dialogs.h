#pragma once
#include <string>

// The windows every part of the program shares: the main window at the bottom of a stack, modal
// dialogs above it, and one blocking wait for the next thing the user does.
//
// A dialog is used like this:
//
//     if (!OpenDialogWindow(5, "Item details", 400, -1, "")) return;
//     ... create the controls, each with its own number (platform/qt/controls.h) ...
//     for (;;) {
//         const DialogEvent event = WaitDialogEvent();
//         if (event.command == -1 || event.command == CloseButtonNumber) break;
//         ...
//     }
//     CloseDialogWindow();

// What WaitDialogEvent returns. `command` is the number of the control, menu item or shortcut,
// or -1 for a window's close box; `subtype` says what happened to a control.
struct DialogEvent {
    int command = 0;
    int subtype = 0;
};

inline constexpr int EventClicked = 0;      // a button, check box, option button, menu, shortcut
inline constexpr int EventChanged = 1;      // the user picked another entry of a drop-down list
inline constexpr int EventDoubleClick = 2;  // a double-click on a row of a list
inline constexpr int CloseBoxCommand = -1;

// The numbers of the open windows, most recent first, joined by ",": "5,1" while window 5 is
// open over the main window; empty when no window is open.
std::string WindowStack();

// Opens the top-level main window (inner size `width` x `height`, centred on the screen,
// button-face background, "Tahoma" 8 as the default control font), activates it and pushes
// `number`. Style 3 gives title bar, system menu, minimise and maximise boxes and a sizing border.
bool OpenMainWindow(int number, const std::string& title, int style, int width, int height);

// Opens a modal dialog of the given inner size. It is owned by the active window of the program
// (or by the window on top of the stack when another program is active) and centred over it; that
// window is disabled until the dialog closes. Without any window it is centred on the screen.
// A height of -1 means three quarters of the width. "Tahoma" 10 is the default control font.
// `iconFile`, when not empty, is loaded as the window's icon. Pushes `number`; non-zero on success.
int OpenDialogWindow(int number, const std::string& title, int width, int height,
                     const std::string& iconFile);

// Takes the top number off the stack, enables and activates the window below it, then closes the
// taken window. Does nothing when the stack is empty.
void CloseDialogWindow();

// Blocks until the user does something that matters in an enabled window of the program.
DialogEvent WaitDialogEvent();

// Adds one menu to the window's menu bar. `items` is read as comma-separated fields: a caption and
// its command number make an item, "-" a separator, "|Caption" opens a submenu and "|" closes it.
// A separator given as the last field is not read. An empty title or item list adds nothing. In a
// caption "&" marks the access key ("&&" shows a "&") and a TAB begins the shortcut column's text.
void BuildMenu(int window, const std::string& title, const std::string& items);
