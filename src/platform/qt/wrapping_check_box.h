#pragma once
#include <QCheckBox>

// A check box whose text wraps at word boundaries when its box is high enough for more than one
// line, as the program's taller option boxes are laid out to do, instead of being cut at the
// right edge. A click anywhere in the box toggles it. A box one line high shows its text on one
// line, as any check box does.
class WrappingCheckBox : public QCheckBox {
  public:
    using QCheckBox::QCheckBox;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};
