#include "capture/object_capture.h"

#include "capture/core/region_selection.h"
#include "capture/grab/still_capture.h"
#include "capture/highlight_frame.h"
#include "capture/notice_dialog.h"
#include "settings/env.h"
#include "settings/hotkey_setting.h"

#include <QTimer>
#include <QWidget>

namespace vistrel {

namespace {

constexpr int kPollMs = 300;
// The frame's window must have left the screen before the window is read.
constexpr int kUnframeDelayMs = 50;
constexpr uint32_t kVirtualKeyEscape = 0x1B;

} // namespace

CObjectCapture::CObjectCapture(CEnv& env, HotkeyRegistrar& hotkeys, QWidget* mainWindow)
    : m_env(env), m_hotkeys(hotkeys), m_mainWindow(mainWindow), m_poll(new QTimer(this))
{
    connect(m_poll, &QTimer::timeout, this, &CObjectCapture::Poll);
}

CObjectCapture::~CObjectCapture()
{
    if (m_bObjectMode)
        Stop();
}

void CObjectCapture::Start()
{
    if (m_mainWindow && m_mainWindow->isVisible())
        m_mainWindow->hide();
    if (m_env.m_bShowReminder) {
        CNoticeDlg notice(m_env);
        notice.exec();
    }
    m_conn = std::make_unique<x11::Connection>();
    m_frame = std::make_unique<CHighlightFrame>();
    m_highlight.reset();
    m_bObjectMode = true;
    m_hotkeys.Register(HOTKEY_ESCAPE, {0, kVirtualKeyEscape});
    m_poll->start(kPollMs);
    Poll();
}

void CObjectCapture::Poll()
{
    if (!m_bObjectMode || !m_conn || !m_conn->ok())
        return;
    const xcb_window_t ours[] = {xcb_window_t(m_frame->winId())};
    auto window = x11::WindowAtPointer(*m_conn, nullptr, ours);
    if (!window || window->window == m_conn->root())
        return;
    // Our own window is hidden now, so none of its children can be under the pointer.
    const uint32_t mainWindow = m_mainWindow ? uint32_t(m_mainWindow->winId()) : 0;
    if (!IsPickableWindow(window->window, true, m_highlight ? m_highlight->window : 0, mainWindow, 0))
        return;
    m_highlight = window;
    m_frame->Frame(window->visible);
}

void CObjectCapture::Stop()
{
    m_bObjectMode = false;
    m_poll->stop();
    m_hotkeys.Unregister(HOTKEY_ESCAPE);
    if (m_frame)
        m_frame->hide();
}

void CObjectCapture::Finish(Done done)
{
    Stop();
    QTimer::singleShot(kUnframeDelayMs, this, [this, done = std::move(done)] {
        std::optional<Bitmap> picture;
        std::string error;
        if (!m_highlight) {
            error = "no window was framed";
        } else if (m_conn && m_conn->ok()) {
            // Where the window is now: it may have moved since it was framed.
            auto now = x11::WindowRectangle(*m_conn, m_highlight->window, &error);
            if (now)
                picture = GrabWindowBitmap(*m_conn, *now, &error);
        }
        m_highlight.reset();
        m_frame.reset();
        m_conn.reset();
        done(std::move(picture), error);
    });
}

void CObjectCapture::Cancel()
{
    Stop();
    m_highlight.reset();
    m_frame.reset();
    m_conn.reset();
}

} // namespace vistrel
