#include "ui/record_region_window.h"

#include "base/trace.h"
#include "platform/qt/screen_pixels.h"
#include "platform/qt/window_gone.h"
#include "platform/x11/x11_connection.h"
#include "record/core/record_geometry.h"
#include "ui/selection_painting.h"
#include "ui/shape_cursors.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace vistrel {

CRecordRegionWnd::CRecordRegionWnd(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint)
{
    setObjectName("recordRegionWindow");
    setWindowTitle("Title");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(ShapeCursor(SHAPE_RECTANGLE));
    setMouseTracking(true);
}

CRecordRegionWnd::~CRecordRegionWnd() = default;

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
    m_done = std::move(done);
    m_selection.reset();
    m_fixedRegion.reset();
    const unsigned begun = ++m_begun;
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    m_hidParent = owner && owner->isVisible();
    if (!m_hidParent) {
        ShowOverSnapshot();
        return;
    }
    owner->hide();
    // Out of the picture first; a selection ended meanwhile shows nothing.
    WhenWindowGone(this, owner->winId(), [this, begun] {
        if (m_done && begun == m_begun)
            ShowOverSnapshot();
    });
}

void CRecordRegionWnd::ShowOverSnapshot()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        Finish(std::nullopt);
        return;
    }
    m_screen = screen->grabWindow(0).toImage();
    setGeometry(screen->geometry());
    if (screen->devicePixelRatio() != 1.0 && !m_pointerConn)
        m_pointerConn = std::make_unique<x11::Connection>();
    const Point pointer = ScreenPixel(mapFromGlobal(QCursor::pos()));
    if (m_fixed) {
        // Larger than the screen: the screen's size on that axis.
        m_fixedWidth = std::clamp(m_fixedWidth, 1, std::max(1, m_screen.width()));
        m_fixedHeight = std::clamp(m_fixedHeight, 1, std::max(1, m_screen.height()));
        MoveFixedTo(pointer);
    } else {
        m_selection = std::make_unique<RegionSelection>(SHAPE_RECTANGLE);
        m_selection->MouseMove(pointer);
    }
    show();
    raise();
    activateWindow();
    grabKeyboard();
    grabMouse();
    Trace("region selector shown");
}

Point CRecordRegionWnd::ScreenPixel(QPointF local) const
{
    return PointerScreenPixels(local, devicePixelRatioF(), m_pointerConn.get());
}

void CRecordRegionWnd::MoveFixedTo(Point pixel)
{
    const RecordRegion fixed{0, 0, m_fixedWidth - 1, m_fixedHeight - 1};
    m_fixedRegion = FixedRectAt(pixel.x, pixel.y, OffsetsFromCentre(fixed), m_fixedWidth, m_fixedHeight,
                                m_screen.width(), m_screen.height());
    update();
}

void CRecordRegionWnd::Apply(RegionSelection::Step step)
{
    switch (step) {
    case RegionSelection::Step::Continue: update(); break;
    case RegionSelection::Step::Finished:
        Finish(RegionOfSelection(*m_selection, m_screen.width(), m_screen.height()));
        break;
    case RegionSelection::Step::Cancelled: Finish(std::nullopt); break;
    }
}

void CRecordRegionWnd::Finish(std::optional<RecordRegion> region)
{
    releaseKeyboard();
    releaseMouse();
    hide();
    Done done = std::move(m_done);
    m_done = nullptr;
    m_screen = QImage();
    m_selection.reset();
    m_fixedRegion.reset();
    // A fixed size of one pixel has no area to record.
    if (region && (region->width() < 2 || region->height() < 2))
        region.reset();
    if (std::exchange(m_hidParent, false) && parentWidget()) {
        QWidget* owner = parentWidget()->window();
        owner->show();
        owner->raise();
        owner->activateWindow();
    }
    if (done)
        QTimer::singleShot(0, this, [done, region] { done(region); });
}

void CRecordRegionWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_done)
        return;
    const Point pixel = ScreenPixel(event->position());
    if (m_fixed && m_fixedRegion) {
        MoveFixedTo(pixel);
    } else if (m_selection) {
        m_selection->MouseMove(pixel);
        update();
    }
}

void CRecordRegionWnd::mousePressEvent(QMouseEvent* event)
{
    if (!m_done)
        return;
    if (event->button() == Qt::RightButton)
        Finish(std::nullopt);
    else if (event->button() == Qt::LeftButton && m_selection)
        Apply(m_selection->LeftButtonDown(ScreenPixel(event->position())));
}

void CRecordRegionWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_done || event->button() != Qt::LeftButton)
        return;
    if (m_fixed && m_fixedRegion)
        Finish(m_fixedRegion);
    else if (m_selection)
        Apply(m_selection->LeftButtonUp(ScreenPixel(event->position())));
}

void CRecordRegionWnd::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_done)
        Finish(std::nullopt);
}

void CRecordRegionWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(rect(), m_screen);
    // The rest in screen pixels.
    const qreal ratio = devicePixelRatioF();
    painter.scale(1 / ratio, 1 / ratio);
    if (m_fixed && m_fixedRegion)
        PaintRectangleSelection(painter, AreaOfRegion(*m_fixedRegion), m_screen.width(), m_screen.height());
    else if (m_selection)
        PaintSelection(painter, *m_selection, m_screen.width(), m_screen.height());
}

} // namespace vistrel
