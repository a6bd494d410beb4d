#pragma once
#include <QMessageBox>
#include <functional>
#include <string>

// Answers the next message box the program shows: `look` sees it first, then `press` is clicked
// (the box's default button when NoButton). The box is the real one, shown modally.
void AnswerNextMessageBox(std::function<void(QMessageBox&)> look,
                          QMessageBox::StandardButton press = QMessageBox::NoButton);

// A fresh start for the next test: no window, empty tables, start-up filters.
void ResetProgramState();

class ReportList;
// Clicks the heading of `column` with the mouse.
void ClickHeading(ReportList* list, int column);

// Lets Qt process events for a moment, for what happens on the next turn of the loop.
void SettleEvents();

// A booklist line of the 13 columns.
std::string BooklistLine(int id, const std::string& title, const std::string& author,
                         const std::string& australian, const std::string& categories,
                         const std::string& level, const std::string& format);
