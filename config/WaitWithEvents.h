#pragma once

// Blocks the caller for `ms` milliseconds while the thread's event loop keeps running: timers,
// queued signals, input and repaints are handled meanwhile, including re-entrant calls of the
// caller's own slot. Measured on the monotonic clock, so changes of the time of day (midnight,
// clock adjustments) neither shorten nor stretch it. Returns at once, without handling any event,
// for ms <= 0.
void waitWithEvents(int ms);

class QObject;

// The same wait, for the steps of a paced sequence: the wait lets the user close the window, leave
// the page or pull the cable, so the sequence asks afterwards whether `alive` (its window, page or
// owner) still exists. Returns false when it was destroyed meanwhile: end the sequence then.
bool waitWithEvents(int ms, const QObject *alive);
