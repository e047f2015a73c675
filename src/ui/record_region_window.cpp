#include "ui/record_region_window.h"

#include "platform/qt/screen_pixels.h"
#include "platform/x11/x11_connection.h"
#include "record/core/record_geometry.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace vistrel {

CRecordRegionWnd::CRecordRegionWnd(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint)
{
    setObjectName("recordRegionWindow");
    setWindowTitle("Title");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
}

CRecordRegionWnd::~CRecordRegionWnd() = default;

QString CRecordRegionWnd::LabelText(const RecordRegion& r)
{
    return QString("Left : %1  Top : %2  Width : %3  Height : %4")
        .arg(r.left)
        .arg(r.top)
        .arg(r.width())
        .arg(r.height());
}

void CRecordRegionWnd::BeginFixed(int width, int height, Done done)
{
    m_fixed = true;
    m_fixedWidth = width;
    m_fixedHeight = height;
    Begin(std::move(done));
}

void CRecordRegionWnd::BeginCustom(Done done)
{
    m_fixed = false;
    Begin(std::move(done));
}

void CRecordRegionWnd::Begin(Done done)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        QTimer::singleShot(0, this, [done] { done(std::nullopt); });
        return;
    }
    m_done = std::move(done);
    m_dragging = false;
    m_current.reset();
    m_screen = screen->grabWindow(0).toImage();
    setGeometry(screen->geometry());
    if (screen->devicePixelRatio() != 1.0 && !m_pointerConn)
        m_pointerConn = std::make_unique<x11::Connection>();
    if (m_fixed) {
        // Larger than the screen: the screen's size on that axis.
        m_fixedWidth = std::clamp(m_fixedWidth, 1, std::max(1, m_screen.width()));
        m_fixedHeight = std::clamp(m_fixedHeight, 1, std::max(1, m_screen.height()));
        MoveFixedTo(ScreenPixel(mapFromGlobal(QCursor::pos())));
    }
    show();
    raise();
    activateWindow();
    grabKeyboard();
    grabMouse();
}

QPoint CRecordRegionWnd::ScreenPixel(QPointF local) const
{
    const Point pixel = PointerScreenPixels(local, devicePixelRatioF(), m_pointerConn.get());
    return QPoint(pixel.x, pixel.y);
}

void CRecordRegionWnd::MoveFixedTo(QPoint pixel)
{
    const RecordRegion fixed{0, 0, m_fixedWidth - 1, m_fixedHeight - 1};
    m_current = FixedRectAt(pixel.x(), pixel.y(), OffsetsFromCentre(fixed), m_fixedWidth, m_fixedHeight,
                            m_screen.width(), m_screen.height());
    update();
}

void CRecordRegionWnd::Finish(std::optional<RecordRegion> region)
{
    releaseKeyboard();
    releaseMouse();
    hide();
    Done done = std::move(m_done);
    m_done = nullptr;
    m_screen = QImage();
    // A click without a drag has no area: nothing to record.
    if (region && (region->width() < 2 || region->height() < 2))
        region.reset();
    if (done)
        QTimer::singleShot(0, this, [done, region] { done(region); });
}

void CRecordRegionWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_done)
        return;
    const QPoint pixel = ScreenPixel(event->position());
    if (m_fixed)
        MoveFixedTo(pixel);
    else if (m_dragging) {
        m_current = Normalised({m_anchor.x(), m_anchor.y(), pixel.x(), pixel.y()});
        update();
    }
}

void CRecordRegionWnd::mousePressEvent(QMouseEvent* event)
{
    if (!m_done)
        return;
    if (event->button() == Qt::RightButton) {
        Finish(std::nullopt);
    } else if (event->button() == Qt::LeftButton && !m_fixed) {
        m_anchor = ScreenPixel(event->position());
        m_current = RecordRegion{m_anchor.x(), m_anchor.y(), m_anchor.x(), m_anchor.y()};
        m_dragging = true;
        update();
    }
}

void CRecordRegionWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_done && event->button() == Qt::LeftButton && (m_fixed || m_dragging))
        Finish(m_current ? std::optional(Normalised(*m_current)) : std::nullopt);
}

void CRecordRegionWnd::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_done)
        Finish(std::nullopt);
}

void CRecordRegionWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    painter.drawImage(rect(), m_screen);
    if (!m_current)
        return;
    const RecordRegion& r = *m_current;
    const QRectF box(r.left / ratio, r.top / ratio, r.width() / ratio, r.height() / ratio);
    // A hatched frame 3 pixels wide inside the rectangle, seen on any picture.
    painter.setPen(Qt::NoPen);
    const qreal t = 3 / ratio;
    for (const QBrush& brush : {QBrush(Qt::white), QBrush(QColor(0, 0, 100), Qt::BDiagPattern)}) {
        painter.setBrush(brush);
        painter.drawRect(QRectF(box.left(), box.top(), box.width(), t));
        painter.drawRect(QRectF(box.left(), box.bottom() - t, box.width(), t));
        painter.drawRect(QRectF(box.left(), box.top() + t, t, box.height() - 2 * t));
        painter.drawRect(QRectF(box.right() - t, box.top() + t, t, box.height() - 2 * t));
    }
    // The size label above the rectangle, or below it near the screen's top.
    const QString text = LabelText(r);
    const QFontMetrics metrics(font());
    const int cx = metrics.horizontalAdvance(text), cy = metrics.height();
    const qreal y = box.top() < cy + 5 ? box.bottom() + 5 : box.top() - cy - 5;
    const QRectF label(box.left() + 6, y - 4, cx + 8, cy + 8);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(label, 5, 5);
    painter.drawText(label, Qt::AlignCenter, text);
}

} // namespace vistrel
