#pragma once
// CRegionSelectWnd: the overlay of the still captures. It freezes the screen,
// covers the whole X screen (every monitor) with a borderless top-most window
// that shows only that frozen picture, and lets the user click out a
// rectangle, circle, ellipse or polygon on it, with the optional magnifier. A
// full-screen capture runs through the same steps without showing anything.
// The end is reported to the owner with the shaped picture, or none when
// cancelled. Everything is worked out in screen pixels, so with any scaling of
// the toolkit the file holds exactly the pixels chosen.
// User-interface thread only.

#include "capture/core/capture_geometry.h"
#include "capture/core/region_selection.h"
#include "codec/bitmap.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QTimer;

namespace vistrel {

namespace x11 {
class Connection;
}

class CEnv;
class CMagnifierDlg;

class CRegionSelectWnd : public QWidget {
    Q_OBJECT
public:
    // finished false: cancelled. error: why there is no picture although not cancelled.
    using Done = std::function<void(bool finished, std::optional<Bitmap> picture, const std::string& error)>;
    // mainWindow is hidden during the capture when the settings ask for it, and
    // shown again afterwards unless inTray() says it sits in the tray.
    CRegionSelectWnd(const CEnv& env, QWidget* mainWindow, std::function<bool()> inTray);
    ~CRegionSelectWnd() override;

    void SetShape(CaptureShape shape) { m_nShape = shape; }
    void SetIncludeCursor(bool include) { m_bIncludeCursor = include; }
    void BeginCapture(Done done);
    bool capturing() const { return m_selection != nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void GrabScreen();
    void ShowOverlay();
    void Apply(RegionSelection::Step step);
    void FinishCapture(bool cancelled);
    // Every way out of a capture: the owner hears of it once, the main window comes back.
    void EndCapture(bool finished, std::optional<Bitmap> picture, const std::string& error);
    void KeepOnTop();
    Point ScreenPixels(const QPointF& local) const;
    void ReportToMagnifier();
    void PaintOverlay();
    void PaintHint(QPainter& painter) const;

    const CEnv& m_env;
    QWidget* m_mainWindow;
    std::function<bool()> m_inTray;
    CaptureShape m_nShape = SHAPE_FULLSCREEN;
    bool m_bIncludeCursor = false;
    bool m_hidMainWindow = false;
    bool m_magnifierShown = true; // the H key's toggle, kept from one capture to the next
    bool m_showHint = false;      // until the user has finished a few selections
    Done m_done;
    std::optional<Bitmap> m_frozen;
    QImage m_frozenImage; // shares m_frozen's pixels
    std::unique_ptr<RegionSelection> m_selection;
    std::unique_ptr<x11::Connection> m_pointerConn; // during a selection
    std::unique_ptr<CMagnifierDlg> m_magnifier;
    QTimer* m_keepOnTop;
};

} // namespace vistrel
