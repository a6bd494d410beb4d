#include "platform/qt/window_title.h"
#include "platform/qt/controls.h"

#include <QWidget>

void SetMainWindowTitle(const std::string& title) {
    if (QWidget* window = WindowById(1)) window->setWindowTitle(ToDisplay(title));
}
