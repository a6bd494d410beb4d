#include <QApplication>

#include "app/desktop/main_window.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    return RunDesktopProgram();
}
