#include "capture/region_select_window.h"

#include "capture/still_capture.h"
#include "settings/env.h"

#include <QTimer>

namespace vistrel {

namespace {

// Long enough for a hidden window to have left the screen before it is read.
constexpr int kHideDelayMs = 100;

} // namespace

CRegionSelectWnd::CRegionSelectWnd(const CEnv& env, QWidget* mainWindow, std::function<bool()> inTray)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool), m_env(env),
      m_mainWindow(mainWindow), m_inTray(std::move(inTray))
{
    setObjectName("regionSelect");
}

bool CRegionSelectWnd::BeginCapture(Done done)
{
    // The shapes the user clicks out need the overlay's mouse handling.
    if (m_nShape != SHAPE_FULLSCREEN)
        return false;
    m_done = std::move(done);
    m_hidMainWindow = false;
    if (m_env.m_bHideSelf && m_mainWindow && m_mainWindow->isVisible()) {
        m_mainWindow->hide();
        m_hidMainWindow = true;
    }
    // Only a window that was just hidden needs the wait.
    if (m_hidMainWindow)
        QTimer::singleShot(kHideDelayMs, this, &CRegionSelectWnd::GrabScreen);
    else
        GrabScreen();
    return true;
}

void CRegionSelectWnd::GrabScreen()
{
    CaptureRequest request;
    request.kind = CaptureKind::FullScreen;
    request.includeCursor = m_bIncludeCursor;
    StillGrab grab = GrabStill(request, m_env);
    FinishCapture(false, std::move(grab.bitmap), grab.error);
}

void CRegionSelectWnd::FinishCapture(bool cancelled, std::optional<Bitmap> picture, const std::string& error)
{
    Done done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(!cancelled, cancelled ? std::nullopt : std::move(picture), error);
    hide();
    if (m_hidMainWindow && m_mainWindow && !(m_inTray && m_inTray())) {
        m_mainWindow->show();
        m_hidMainWindow = false;
    }
}

} // namespace vistrel
