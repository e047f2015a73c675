#pragma once
// Waiting for a window that was just hidden to leave the screen, before the
// screen is read: the window manager takes its frame away in its own time.
// The wait is a chain of timers on the event loop, never a sleep: a fixed
// first delay, then a look on a connection of our own every few milliseconds
// until the window's top level is no longer viewable, for at most a few
// seconds. User-interface thread only.

#include <QObject>

#include <functional>

namespace vistrel {

// Calls then() once window (an X window id) has left the screen, or the wait
// is over, or there is no X connection to ask. Nothing is called once context
// is gone.
void WhenWindowGone(QObject* context, unsigned long window, std::function<void()> then);

} // namespace vistrel
