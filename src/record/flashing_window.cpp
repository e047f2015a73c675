#include "record/flashing_window.h"

#include "record/core/flashing_frame.h"

#include <QPainter>
#include <QRegion>

#include <climits>

namespace vistrel {

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

void CFlashingWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(kFlashingFrameColour));
}

} // namespace vistrel
