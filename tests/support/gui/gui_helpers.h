#pragma once
#include <QApplication>
#include <QWidget>
#include <functional>
#include <string>

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

// A fresh start for the next test, each layer through its own reset: no window, no preset
// answers, empty tables, start-up filters and constants, no printer, print job or PDF output. The
// window tests' counterpart of the unit tests' reset of the same name.
void ResetProgramState();

class ReportList;
// Clicks the heading of `column` with the mouse.
void ClickHeading(ReportList* list, int column);

// A booklist line of the 13 columns.
std::string BooklistLine(int id, const std::string& title, const std::string& author,
                         const std::string& australian, const std::string& categories,
                         const std::string& level, const std::string& format);
