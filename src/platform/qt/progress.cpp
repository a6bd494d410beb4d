#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <chrono>
#include <climits>

#include "platform/qt/controls.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/fonts.h"
#include "platform/qt/progress.h"
#include "platform/qt/progress_window.h"

namespace {

using Clock = std::chrono::steady_clock;

// Repaints are coalesced to about one a frame; events are looked at a little more often so that
// Cancel answers at once. Between those moments a progress call costs a clock reading.
constexpr auto RepaintInterval = std::chrono::milliseconds(16);
constexpr auto PollInterval = std::chrono::milliseconds(8);

class ProgressWindow : public QWidget {
  public:
    using QWidget::QWidget;
    bool withCancel = false;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        if (withCancel &&
            (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter)) {
            QueueWindowEvent({ProgressCancelId, EventClicked});
            return;
        }
        QWidget::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        // No close box; a close request from elsewhere is reported, never obeyed.
        event->ignore();
        QueueWindowEvent({CloseBoxCommand, EventClicked});
    }
};

struct Progress {
    QPointer<ProgressWindow> window;  // deleted with its owner if that goes first
    QPointer<QWidget> owner;
    QLabel* caption = nullptr;
    QLabel* counter = nullptr;
    QProgressBar* bar = nullptr;
    std::int64_t minimum = 0;
    int shift = 0;  // the bar holds 32 bits; larger ranges are scaled down
    std::int64_t position = 0;
    std::string counterText;
    bool dirty = false;
    Clock::time_point lastRepaint;
    Clock::time_point lastPoll;
};

Progress& State() {
    static Progress progress;
    return progress;
}

int BarValue(std::int64_t value) {
    const Progress& p = State();
    return static_cast<int>((value - p.minimum) >> p.shift);
}

void ShowLatest(bool paintNow) {
    Progress& p = State();
    if (!p.dirty) return;
    p.dirty = false;
    p.bar->setValue(std::clamp(BarValue(p.position), p.bar->minimum(), p.bar->maximum()));
    const QString counter = ToDisplay(p.counterText);
    if (counter != p.counter->text()) p.counter->setText(counter);
    if (paintNow) p.window->repaint();
    p.lastRepaint = Clock::now();
}

void Changed() {
    Progress& p = State();
    p.dirty = true;
    if (Clock::now() - p.lastRepaint >= RepaintInterval) ShowLatest(true);
}

}  // namespace

void OpenProgressWindow(const std::string& title, const std::string& caption, std::int64_t minimum,
                        std::int64_t maximum, bool withCancel) {
    CloseProgressWindow();
    Progress& p = State();
    const ProgramFontSet& fonts = ProgramFonts();

    QWidget* owner = QApplication::activeWindow();
    auto* window =
        new ProgressWindow(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    p.window = window;
    p.owner = owner;
    window->withCancel = withCancel;
    window->setWindowTitle(ToDisplay(title));
    window->setFont(fonts.tahoma8);
    window->setFixedSize(340, 170);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, fonts.buttonFace);
    palette.setColor(QPalette::WindowText, fonts.labelText);
    window->setPalette(palette);
    window->setAutoFillBackground(true);

    p.caption = new QLabel(window);
    p.caption->setGeometry(20, 5, 280, 35);
    p.caption->setTextFormat(Qt::PlainText);
    p.caption->setText(ToDisplay(caption).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    p.counter = new QLabel(window);
    p.counter->setGeometry(20, 45, 300, 25);
    p.counter->setTextFormat(Qt::PlainText);

    p.minimum = minimum;
    p.shift = 0;
    while (((maximum - minimum) >> p.shift) > INT_MAX)
        ++p.shift;
    p.bar = new QProgressBar(window);
    p.bar->setGeometry(20, 75, 300, 20);
    p.bar->setTextVisible(false);
    // An empty range would make Qt's bar a busy indicator; an empty file shows an empty bar.
    p.bar->setRange(0, std::max(1, BarValue(maximum)));
    p.bar->setValue(0);
    p.position = minimum;
    p.counterText.clear();
    p.dirty = false;

    if (withCancel) {
        auto* cancel = new QPushButton(QStringLiteral("Cancel"), window);
        cancel->setGeometry(340 - 82, 170 - 29, 75, 22);
        cancel->setProperty("tallyleafControl", ProgressCancelId);
        cancel->setAutoDefault(false);
        QObject::connect(cancel, &QPushButton::clicked, [] {
            QueueWindowEvent({ProgressCancelId, EventClicked});
        });
    }

    QRect frame = window->frameGeometry();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    window->show();
    window->raise();
    window->activateWindow();
    p.lastRepaint = p.lastPoll = Clock::now();
}

void SetProgressPosition(std::int64_t value) {
    Progress& p = State();
    if (!p.window) return;
    p.position = value;
    Changed();
}

void SetProgressCounter(const std::string& text) {
    Progress& p = State();
    if (!p.window) return;
    p.counterText = text;
    Changed();
}

int PollProgressWindow() {
    Progress& p = State();
    if (!p.window) return 0;
    const Clock::time_point now = Clock::now();
    if (now - p.lastPoll < PollInterval && !WindowEventQueued()) return 0;
    p.lastPoll = now;
    ShowLatest(false);
    DispatchWindowEvents();
    // Cancel wins over anything else the user did meanwhile; the rest is not acted upon.
    int result = 0;
    while (const auto event = TakeWindowEvent()) {
        if (event->command == ProgressCancelId) return ClearWindowEvents(), ProgressCancelId;
        if (result == 0) result = event->command;
    }
    return result;
}

void ShowLatestProgress() {
    if (State().window) ShowLatest(true);
}

void CloseProgressWindow() {
    Progress& p = State();
    if (!p.window) return;
    p.window->hide();
    delete p.window.data();
    // The window that was active before gets the keyboard back, as the window system would do.
    if (p.owner && p.owner->isVisible()) p.owner->activateWindow();
    p.caption = p.counter = nullptr;
    p.bar = nullptr;
}
