#pragma once
// CRegionSelectWnd: the overlay of the still captures. It freezes the screen,
// and for a full-screen capture finishes at once without showing itself; the
// shapes that the user clicks out on the frozen picture run through the same
// steps. The end is reported to the owner with the shaped picture (or none when
// cancelled). User-interface thread only.

#include "capture/core/capture_geometry.h"
#include "codec/bitmap.h"

#include <QWidget>

#include <functional>
#include <optional>

namespace vistrel {

class CEnv;

class CRegionSelectWnd : public QWidget {
    Q_OBJECT
public:
    // finished false: cancelled. error: why there is no picture although not cancelled.
    using Done = std::function<void(bool finished, std::optional<Bitmap> picture, const std::string& error)>;
    // mainWindow is hidden during the capture when the settings ask for it, and
    // shown again afterwards unless inTray() says it sits in the tray.
    CRegionSelectWnd(const CEnv& env, QWidget* mainWindow, std::function<bool()> inTray);

    void SetShape(CaptureShape shape) { m_nShape = shape; }
    void SetIncludeCursor(bool include) { m_bIncludeCursor = include; }
    bool BeginCapture(Done done); // false: this shape cannot be captured here yet

private:
    void GrabScreen();
    void FinishCapture(bool cancelled, std::optional<Bitmap> picture, const std::string& error);

    const CEnv& m_env;
    QWidget* m_mainWindow;
    std::function<bool()> m_inTray;
    CaptureShape m_nShape = SHAPE_FULLSCREEN;
    bool m_bIncludeCursor = false;
    bool m_hidMainWindow = false;
    Done m_done;
};

} // namespace vistrel
