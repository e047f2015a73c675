#pragma once
// The capture of one window or control: while it runs, the window under the
// mouse is framed in red (looked up every 300 ms); the object hotkey takes the
// framed one with exactly the pixels the screen shows, Escape (a hotkey of
// ours only while this runs) cancels. User-interface thread only.

#include "codec/bitmap.h"
#include "platform/x11/window_at_pointer.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QTimer;
class QWidget;

namespace vistrel {

class CEnv;
class CHighlightFrame;
class HotkeyRegistrar;

class CObjectCapture : public QObject {
    Q_OBJECT
public:
    CObjectCapture(CEnv& env, HotkeyRegistrar& hotkeys, QWidget* mainWindow);
    ~CObjectCapture() override;

    bool active() const { return m_bObjectMode; }
    // Hides the main window, shows the reminder when the settings ask for it,
    // and starts following the mouse.
    void Start();
    // picture: the framed window's pixels; none (with the reason) when no
    // window was framed or the grab failed.
    using Done = std::function<void(std::optional<Bitmap> picture, const std::string& error)>;
    void Finish(Done done);
    void Cancel();

private:
    void Poll();
    void Stop();

    CEnv& m_env;
    HotkeyRegistrar& m_hotkeys;
    QWidget* m_mainWindow;
    std::unique_ptr<x11::Connection> m_conn;
    std::unique_ptr<CHighlightFrame> m_frame;
    QTimer* m_poll;
    bool m_bObjectMode = false;
    std::optional<x11::WindowArea> m_highlight;
};

} // namespace vistrel
