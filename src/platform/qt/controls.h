#pragma once
#include <QKeySequence>
#include <QString>
#include <string>

#include "platform/qt/display_text.h"

class QCheckBox;
class QComboBox;
class QFont;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

// Controls of the program's windows. Each control carries its number: code and tests find it by
// (window, number), and what the user does with it comes back from WaitDialogEvent under that
// number. Positions and sizes are pixels inside the window's inner area; a control without an
// explicit font takes the window's default control font.

// The open window with this number, or nullptr.
QWidget* WindowById(int window);
// The control with this number in the window, or nullptr.
QWidget* ControlById(int window, int control);
template <typename T>
T* ControlAs(int window, int control) {
    return qobject_cast<T*>(ControlById(window, control));
}

// Gives `widget` its number and places it. For controls of one's own making.
void PlaceControl(QWidget* widget, int control, int x, int y, int width, int height);

QLabel* AddLabel(int window, int control, int x, int y, int width, int height,
                 const std::string& text);
// A push button reporting a click; "Tahoma" 8 like every push button of the program.
QPushButton* AddButton(int window, int control, int x, int y, int width, int height,
                       const std::string& text, const std::string& tooltip = {});
// A check box whose text wraps inside a box more than one line high.
QCheckBox* AddCheckBox(int window, int control, int x, int y, int width, int height,
                       const std::string& text);
// Option buttons placed one after another in the same window form one group.
QRadioButton* AddOptionButton(int window, int control, int x, int y, int width, int height,
                              const std::string& text);
QGroupBox* AddFrame(int window, int control, int x, int y, int width, int height,
                    const std::string& text);
// A non-editable drop-down list reporting EventChanged when the user picks an entry.
QComboBox* AddSelector(int window, int control, int x, int y, int width, int height,
                       const std::string& tooltip = {});
// A keyboard shortcut of the window reporting `command`.
void AddShortcut(int window, const QKeySequence& key, int command);
// A keyboard shortcut reporting `command` only while the control has the keyboard focus.
void AddControlShortcut(int window, int control, const QKeySequence& key, int command);

// Queues what the user did for WaitDialogEvent, for controls of one's own making.
void PostWindowEvent(int command, int subtype);
