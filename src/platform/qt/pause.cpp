#include <QCoreApplication>
#include <chrono>
#include <thread>

#include "platform/pause.h"
#include "platform/qt/event_queue.h"

void PauseWithEvents(int milliseconds) {
    for (int i = 0; i < milliseconds; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        LetWindowEventsThrough();
    }
}
