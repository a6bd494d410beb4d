#pragma once

// Sleeps `milliseconds` times for one millisecond, each time letting at most one pending window
// event through, so that windows repaint while the caller holds the one thread.
void PauseWithEvents(int milliseconds);
