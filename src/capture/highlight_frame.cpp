#include "capture/highlight_frame.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRegion>

#include <cmath>

namespace vistrel {

namespace {

constexpr int kPenWidth = 2;
constexpr int kInset = 2; // the frame runs from (2, 2) to (width - 2, height - 2)

} // namespace

CHighlightFrame::CHighlightFrame()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint | Qt::WindowTransparentForInput |
                           Qt::WindowDoesNotAcceptFocus)
{
    setObjectName("highlightFrame");
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void CHighlightFrame::Frame(const x11::ScreenRect& target)
{
    const double dpr = qApp->devicePixelRatio();
    const QRect logical(int(std::floor(target.x / dpr)), int(std::floor(target.y / dpr)),
                        int(std::ceil(target.width / dpr)), int(std::ceil(target.height / dpr)));
    setGeometry(logical);
    // Only the ring is ours; the window inside shows through.
    const QRect outer = rect().adjusted(kInset - 1, kInset - 1, -(kInset - 1), -(kInset - 1));
    const QRect inner = outer.adjusted(kPenWidth, kPenWidth, -kPenWidth, -kPenWidth);
    setMask(QRegion(outer).subtracted(QRegion(inner)));
    show();
    raise();
    update();
}

void CHighlightFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(255, 0, 0));
}

} // namespace vistrel
