#include <QCoreApplication>
#include <chrono>
#include <thread>

#include "platform/qt/event_queue.h"
#include "platform/qt/pause.h"
#include "platform/qt/progress_window.h"

void PauseWithEvents(int milliseconds) {
    // The pause follows a run; its final counts stay on screen for the pause, not the last ones
    // that happened to be painted.
    ShowLatestProgress();
    for (int i = 0; i < milliseconds; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        LetWindowEventsThrough();
    }
}
