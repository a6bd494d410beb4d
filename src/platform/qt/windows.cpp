#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QPointer>
#include <QScreen>
#include <cmath>
#include <vector>

#include "platform/column_sort.h"
#include "platform/dialogs.h"
#include "platform/qt/display_text.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/fonts.h"
#include "platform/qt/program_window.h"

namespace {

struct StackEntry {
    int number;
    QPointer<ProgramWindow> window;
};

// Most recent first.
std::vector<StackEntry>& Stack() {
    static std::vector<StackEntry> stack;
    return stack;
}

void SetButtonFaceBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, ProgramFonts().buttonFace);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void CentreOn(QWidget* window, const QRect& area) {
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    window->move(frame.topLeft());
}

QRect ScreenArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
}

void ShowInFront(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

ProgramWindow* MakeWindow(int number, const std::string& title, QWidget* owner,
                          Qt::WindowFlags flags, int width, int height, const QFont& controlFont) {
    auto* window = new ProgramWindow(number, owner, flags);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->setWindowTitle(ToDisplay(title));
    window->setFont(controlFont);
    SetButtonFaceBackground(window->Content());
    // The controls keep their places whatever the window's size: the inner area never shrinks.
    window->Content()->setMinimumSize(width, height);
    window->resize(width, height);
    return window;
}

// The window a new dialog belongs to: the program's active window, or when another program is in
// front, the window on top of the stack.
QWidget* DialogOwner() {
    if (QWidget* active = QApplication::activeWindow()) return active;
    for (const StackEntry& entry : Stack()) {
        if (entry.window) return entry.window;
    }
    return nullptr;
}

}  // namespace

ProgramWindow::ProgramWindow(int number, QWidget* owner, Qt::WindowFlags flags)
    : QMainWindow(owner, flags), number_(number), content_(new QWidget(this)) {
    setCentralWidget(content_);
}

void ProgramWindow::CloseFromProgram() {
    closing_ = true;
    close();
}

void ProgramWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    event->ignore();
    if (isEnabled()) QueueWindowEvent({CloseBoxCommand, EventClicked});
}

ProgramWindow* ProgramWindowById(int number) {
    for (const StackEntry& entry : Stack()) {
        if (entry.number == number && entry.window) return entry.window;
    }
    return nullptr;
}

std::string WindowStack() {
    std::string text;
    for (const StackEntry& entry : Stack()) {
        if (!text.empty()) text += ',';
        text += std::to_string(entry.number);
    }
    return text;
}

bool OpenMainWindow(int number, const std::string& title, int style, int width, int height) {
    Qt::WindowFlags flags = Qt::Window;
    if (style == 3) {
        flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint;
    }
    ProgramWindow* window =
        MakeWindow(number, title, nullptr, flags, width, height, ProgramFonts().tahoma8);
    CentreOn(window, ScreenArea());
    ShowInFront(window);
    Stack().insert(Stack().begin(), {number, window});
    return true;
}

int OpenDialogWindow(int number, const std::string& title, int width, int height,
                     const std::string& iconFile) {
    if (height == -1) height = static_cast<int>(std::lround(width * 0.75));
    QWidget* owner = DialogOwner();
    ProgramWindow* window =
        MakeWindow(number, title, owner, Qt::Dialog, width, height, ProgramFonts().tahoma10);
    if (!iconFile.empty()) window->setWindowIcon(QIcon(PathToDisplay(iconFile)));
    CentreOn(window, owner ? owner->frameGeometry() : ScreenArea());
    if (owner) {
        owner->setEnabled(false);
        // Disabling the owner disables the windows it owns; this one must take input.
        window->setEnabled(true);
    }
    ShowInFront(window);
    Stack().insert(Stack().begin(), {number, window});
    return 1;
}

void CloseDialogWindow() {
    if (Stack().empty()) return;
    const QPointer<ProgramWindow> taken = Stack().front().window;
    Stack().erase(Stack().begin());
    if (!Stack().empty() && Stack().front().window) {
        ProgramWindow* below = Stack().front().window;
        below->setEnabled(true);
        ShowInFront(below);
    }
    if (taken) {
        taken->CloseFromProgram();
        delete taken.data();
    }
}

DialogEvent WaitDialogEvent() {
    for (;;) {
        if (const auto event = TakeWindowEvent()) return *event;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void ResetWindowServices() {
    while (!Stack().empty())
        CloseDialogWindow();
    ClearWindowEvents();
}
