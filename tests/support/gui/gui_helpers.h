#pragma once
#include <QApplication>
#include <QWidget>
#include <functional>
#include <string>

#include "app/desktop/main_window.h"
#include "support/test_services.h"

// Acts on a window the program is about to block in, such as a dialog or the real message box:
// the call is queued now and carried out by the program's own wait, once `find` gives the window.
// The test fails, and `act` is skipped, when no window comes within five seconds.
void WhenShown(std::function<QWidget*()> find, std::function<void(QWidget*)> act);

// The visible modal window of type T in front, or nullptr.
template <typename T>
T* VisibleModal() {
    auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
    return widget && widget->isVisible() ? widget : nullptr;
}

// The open window with this number once it is active, or nullptr. A window's keyboard shortcuts
// answer only while it is active: a key sent to it before then is lost.
QWidget* ActiveWindowById(int number);

// The main window's session for this test: the current folder (the test's folder when the
// session is first asked for after the reset), no server, no booklist loaded, and the test's
// services over the desktop's own.
DesktopSession& TestSession();
// The session's services: the answers the user will give, and what the windows showed and asked.
TestServices& TestSessionServices();

// A fresh start, each layer through its own reset: no window and no session (so no preset
// answers, booklist or filters), no preset file failure, no printer, print job or PDF output.
// Every window test begins and ends with it (gui_main.cpp).
void ResetProgramState();

// Presses Print in the Print window once it is shown, on the printer selected there (the first
// one listed when none is).
void PrintWhenAsked();

class ReportList;
// Clicks the heading of `column` with the mouse.
void ClickHeading(ReportList* list, int column);

// A booklist line of the 13 columns.
std::string BooklistLine(int id, const std::string& title, const std::string& author,
                         const std::string& australian, const std::string& categories,
                         const std::string& level, const std::string& format);
