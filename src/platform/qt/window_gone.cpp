#include "platform/qt/window_gone.h"

#include "platform/x11/window_at_pointer.h"
#include "platform/x11/x11_connection.h"

#include <QTimer>

#include <memory>

namespace vistrel {

namespace {

// Long enough for a hidden window to have left the screen in most cases; a
// busy window manager may take longer, which is then waited for up to
// kHideWaitMs, looking every kHidePollMs.
constexpr int kHideDelayMs = 100;
constexpr int kHideWaitMs = 3000;
constexpr int kHidePollMs = 10;

void PollGone(QObject* context, std::shared_ptr<x11::Connection> conn, unsigned long window, int waitLeftMs,
              std::function<void()> then)
{
    if (waitLeftMs > 0 && conn->ok() && x11::TopLevelViewable(*conn, xcb_window_t(window))) {
        QTimer::singleShot(kHidePollMs, context, [=] { PollGone(context, conn, window, waitLeftMs - kHidePollMs, then); });
        return;
    }
    then();
}

} // namespace

void WhenWindowGone(QObject* context, unsigned long window, std::function<void()> then)
{
    QTimer::singleShot(kHideDelayMs, context, [context, window, then = std::move(then)] {
        PollGone(context, std::make_shared<x11::Connection>(), window, kHideWaitMs - kHideDelayMs, then);
    });
}

} // namespace vistrel
