#pragma once
// What the user gets once a capture is saved, whichever way it was taken (a
// hotkey, the menu, the timer, a recording, the command line through this
// copy): a desktop notification naming the file, with "Open", "Copy" and "Show
// in folder", and, when the preference asks for it, the still capture on the
// clipboard, held by this copy. It follows the capture library; the icons a
// search finds are not announced one by one, and the shots of one timer run
// share one notification, each shot's taking the place of the one before.
// User-interface thread only.

#include "library/core/capture_lists.h"
#include "platform/qt/desktop_notifications.h"

#include <QObject>

#include <array>
#include <cstddef>

namespace vistrel {

class CaptureLibrary;

class CaptureFeedback : public QObject {
    Q_OBJECT
public:
    // library must outlive this.
    explicit CaptureFeedback(const CaptureLibrary& library, QObject* parent = nullptr);

    // While a timer capture runs, the pictures saved are its shots.
    void SetTimerRunning(bool running);

private:
    void OnListChanged(FolderKind kind);
    void Announce(const QString& path, FolderKind kind);

    const CaptureLibrary& m_library;
    DesktopNotifications m_notifications;
    std::array<size_t, 3> m_known {}; // entries of each list already seen
    bool m_timerRunning = false;
};

} // namespace vistrel
