#pragma once
#include <QSize>
#include <functional>

class QWidget;

// Calls `resized` with the widget's new size each time it changes, for as long as it lives.
void OnResize(QWidget* widget, std::function<void(QSize)> resized);
