#include "record/dialogs/flashing_window.h"

#include "record/core/flashing_frame.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRegion>

#include <xcb/xcb.h>

#include <climits>
#include <cstdlib>

namespace vistrel {

namespace {
// How long the look of a grab stays at least: a grab itself takes a few
// milliseconds, over before a repaint could show it.
constexpr int kGrabbingHoldMs = 30;
} // namespace

CFlashingWnd::CFlashingWnd()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint | Qt::WindowTransparentForInput |
                           Qt::WindowDoesNotAcceptFocus)
{
    setObjectName("flashingFrame");
    setWindowTitle("Flashing");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_NoSystemBackground);
}

void CFlashingWnd::SetUpRegion(const RecordRegion& area, bool panStyle)
{
    m_area = area;
    const auto shape = FlashingFrameShape(area, panStyle);
    if (shape.empty()) {
        hide();
        return;
    }
    // Screen pixels to the toolkit's units; the frame is placed with whole units.
    const qreal ratio = devicePixelRatioF() > 0 ? devicePixelRatioF() : 1.0;
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const auto& s : shape) {
        left = std::min(left, s.x);
        top = std::min(top, s.y);
        right = std::max(right, s.x + s.width);
        bottom = std::max(bottom, s.y + s.height);
    }
    QRegion mask;
    for (const auto& s : shape)
        mask += QRect(int((s.x - left) / ratio), int((s.y - top) / ratio), int(s.width / ratio + 0.5),
                      int(s.height / ratio + 0.5));
    setGeometry(int(left / ratio), int(top / ratio), int((right - left) / ratio + 0.5),
                int((bottom - top) / ratio + 0.5));
    setMask(mask);
}

void CFlashingWnd::PaintNormal()
{
    m_grabbing = false;
    update();
}

void CFlashingWnd::PaintGrabbing()
{
    m_grabbing = true;
    update();
}

void CFlashingWnd::InvertForPan()
{
    m_inverted = !m_inverted;
    update();
}

void CFlashingWnd::HideNow()
{
    hide();
    // The unmap is queued on the toolkit's connection; a round trip on that
    // same connection returns once the server has carried it out.
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (xcb_connection_t* c = x11 ? x11->connection() : nullptr)
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

void CFlashingWnd::paintEvent(QPaintEvent*)
{
    unsigned colour = m_grabbing ? kFlashingFrameGrabbingColour : kFlashingFrameColour;
    if (m_inverted) // as a pattern inversion with the frame's colour would show it
        colour ^= kFlashingFrameColour;
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(colour));
}

CFlashingFollower::CFlashingFollower(CFlashingWnd& frame, std::function<bool()> shown)
    : m_frame(frame), m_shown(std::move(shown))
{
    m_hold.setSingleShot(true);
    m_hold.setInterval(kGrabbingHoldMs);
    connect(&m_hold, &QTimer::timeout, this, &CFlashingFollower::Update);
}

std::shared_ptr<FlashingFrameLink> CFlashingFollower::Begin(bool panStyle)
{
    End();
    m_panStyle = panStyle;
    if (m_frame.inverted())
        m_frame.InvertForPan();
    m_frame.PaintNormal();
    // The wake-up runs on the grab thread: it only queues the update, which
    // is dropped should this recording have ended meanwhile.
    const uint64_t recording = ++m_recordings;
    m_link = std::make_shared<FlashingFrameLink>([this, recording] {
        QMetaObject::invokeMethod(
            this,
            [this, recording] {
                if (recording == m_recordings && m_link)
                    Update();
            },
            Qt::QueuedConnection);
    });
    return m_link;
}

void CFlashingFollower::End()
{
    m_link.reset();
    m_hold.stop();
    Conceal();
}

void CFlashingFollower::Conceal()
{
    if (m_frame.isVisible())
        m_frame.HideNow();
    if (m_link)
        m_link->Hidden();
}

void CFlashingFollower::Update()
{
    if (!m_link)
        return;
    const FlashingFrameLink::View view = m_link->Take();
    if (!m_shown() || view.moving) {
        Conceal(); // a moving area moves only once the frame is out of its way
        return;
    }
    const auto area = m_link->Reveal();
    if (!area) {
        Conceal();
        return;
    }
    const bool grabbed = view.grabbing || view.grabbedSince;
    if (grabbed)
        m_hold.start();
    const bool grabbing = grabbed || m_hold.isActive();
    if (m_panStyle) {
        if (m_frame.inverted() != grabbing)
            m_frame.InvertForPan();
    } else if (grabbing) {
        m_frame.PaintGrabbing();
    } else {
        m_frame.PaintNormal();
    }
    if (!(m_frame.area() == *area) || !m_frame.isVisible()) {
        m_frame.SetUpRegion(*area, m_panStyle);
        m_frame.show();
        m_frame.raise();
    }
}

} // namespace vistrel
