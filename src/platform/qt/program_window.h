#pragma once
#include <QMainWindow>

// A window of the program: the main window or a dialog. Controls live on its content widget, whose
// size is the window's inner size; the menu bar, when there is one, sits above it. A click on the
// close box is reported as CloseBoxCommand instead of closing the window: only the code that opened
// a window closes it.
class ProgramWindow : public QMainWindow {
  public:
    ProgramWindow(int number, QWidget* owner, Qt::WindowFlags flags);

    int Number() const { return number_; }
    QWidget* Content() const { return content_; }
    // Closes for good, as CloseDialogWindow does.
    void CloseFromProgram();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    int number_;
    QWidget* content_;
    bool closing_ = false;
};

// The topmost open window with this number, or nullptr.
ProgramWindow* ProgramWindowById(int number);

// Closes every window and empties the stack and the event queue. For tests.
void ResetWindowServices();
