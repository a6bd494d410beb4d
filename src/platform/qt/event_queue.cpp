#include "platform/qt/event_queue.h"

#include <deque>

namespace {
std::deque<DialogEvent>& Queue() {
    static std::deque<DialogEvent> queue;
    return queue;
}
}  // namespace

void QueueWindowEvent(const DialogEvent& event) {
    Queue().push_back(event);
}

std::optional<DialogEvent> TakeWindowEvent() {
    if (Queue().empty()) return std::nullopt;
    const DialogEvent event = Queue().front();
    Queue().pop_front();
    return event;
}

bool WindowEventQueued() {
    return !Queue().empty();
}
void ClearWindowEvents() {
    Queue().clear();
}

#include <QCoreApplication>

namespace {
int letThroughDepth = 0;
}  // namespace

void DispatchWindowEvents() {
    ++letThroughDepth;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    --letThroughDepth;
}

void LetWindowEventsThroughUntil(const std::function<bool()>& done) {
    ++letThroughDepth;
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    --letThroughDepth;
    ClearWindowEvents();
}

void LetWindowEventsThrough() {
    DispatchWindowEvents();
    ClearWindowEvents();
}

bool LettingWindowEventsThrough() {
    return letThroughDepth > 0;
}
