#include "platform/qt/event_queue.h"

#include <QCoreApplication>
#include <deque>

namespace {

// The commands waiting for the program's next wait, and how deeply the program is letting window
// events through without acting on them.
struct EventQueue {
    std::deque<DialogEvent> events;
    int letThroughDepth = 0;
};

EventQueue& Queue() {
    static EventQueue queue;
    return queue;
}

}  // namespace

void QueueWindowEvent(const DialogEvent& event) {
    Queue().events.push_back(event);
}

std::optional<DialogEvent> TakeWindowEvent() {
    std::deque<DialogEvent>& events = Queue().events;
    if (events.empty()) return std::nullopt;
    const DialogEvent event = events.front();
    events.pop_front();
    return event;
}

bool WindowEventQueued() {
    return !Queue().events.empty();
}
void ClearWindowEvents() {
    Queue().events.clear();
}

void DispatchWindowEvents() {
    ++Queue().letThroughDepth;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    --Queue().letThroughDepth;
}

void LetWindowEventsThroughUntil(const std::function<bool()>& done) {
    ++Queue().letThroughDepth;
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    --Queue().letThroughDepth;
    ClearWindowEvents();
}

void LetWindowEventsThrough() {
    DispatchWindowEvents();
    ClearWindowEvents();
}

bool LettingWindowEventsThrough() {
    return Queue().letThroughDepth > 0;
}
