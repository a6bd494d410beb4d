#pragma once
#include <QLineEdit>

// A one-line search field reporting EventChanged under its number whenever its text changes.
// Escape is the field's own and never reaches the window's shortcuts (where it would end the
// program): it clears the text, or in an empty field hands the focus to `escapeTo`.
class FindField : public QLineEdit {
    Q_OBJECT
  public:
    FindField(QWidget* parent, int control);
    void SetEscapeTarget(QWidget* target) { escapeTo_ = target; }

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QWidget* escapeTo_ = nullptr;
};

// Places a FindField in the window; `label` is its placeholder and accessible name.
FindField* AddFindField(int window, int control, int x, int y, int width, int height,
                        const std::string& label);
