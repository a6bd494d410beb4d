#include "platform/qt/resize_watch.h"

#include <QEvent>
#include <QResizeEvent>
#include <QWidget>

namespace {

class ResizeWatch : public QObject {
  public:
    ResizeWatch(QWidget* widget, std::function<void(QSize)> resized)
        : QObject(widget), resized_(std::move(resized)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) resized_(static_cast<QResizeEvent*>(event)->size());
        return false;
    }

  private:
    std::function<void(QSize)> resized_;
};

}  // namespace

void OnResize(QWidget* widget, std::function<void(QSize)> resized) {
    widget->installEventFilter(new ResizeWatch(widget, std::move(resized)));
}
