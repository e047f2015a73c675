#include "ui/selection_painting.h"

#include "capture/core/capture_area.h"
#include "capture/core/capture_request.h"
#include "capture/core/region_selection.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>
#include <utility>

namespace vistrel {

namespace {

// Outside the selection the screen is shown darker (only on the screen).
const QColor kDimming(0, 0, 0, 96);

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

// The outline of what is selected so far.
QPainterPath BandPath(const RegionSelection& selection)
{
    QPainterPath path;
    const Point a = selection.anchor(), c = selection.current();
    switch (selection.shape()) {
    case SHAPE_RECTANGLE: path.addRect(QRect(QPoint(a.x, a.y), QPoint(c.x, c.y)).normalized()); break;
    case SHAPE_ELLIPSE: path.addEllipse(QRect(QPoint(a.x, a.y), QPoint(c.x, c.y)).normalized()); break;
    case SHAPE_CIRCLE:
        if (const auto box = selection.BandBounds())
            path.addEllipse(ToQRect(*box));
        break;
    case SHAPE_POLYGON: {
        QPolygon outline;
        for (const Point& v : selection.vertices())
            outline << QPoint(v.x, v.y);
        outline << QPoint(c.x, c.y);
        path.addPolygon(outline);
        path.closeSubpath();
        break;
    }
    default: break;
    }
    return path;
}

// A light line under a dark one: visible on any background.
void StrokeTwice(QPainter& painter, const std::function<void()>& draw)
{
    painter.setBrush(Qt::NoBrush);
    for (const auto& [colour, width] : {std::pair {QColor(Qt::white), 3}, std::pair {QColor(Qt::black), 1}}) {
        QPen pen(colour, width);
        pen.setCosmetic(true);
        painter.setPen(pen);
        draw();
    }
}

void DimOutside(QPainter& painter, const QPainterPath& band, int screenWidth, int screenHeight)
{
    QPainterPath outside;
    outside.addRect(0, 0, screenWidth, screenHeight);
    outside.addPath(band);
    outside.setFillRule(Qt::OddEvenFill);
    painter.fillPath(outside, kDimming);
}

// "W x H" just beyond the band's lower right corner, kept on the screen:
// inside the corner when the band reaches an edge.
void PaintSizeLabel(QPainter& painter, const Rect& band, const Rect& area, int screenWidth, int screenHeight)
{
    const QString text = QString("%1 x %2").arg(area.width()).arg(area.height());
    const QFontMetrics metrics(painter.font());
    QRect label = metrics.boundingRect(text).adjusted(-5, -3, 5, 3);
    label.moveTopLeft(QPoint(band.right + 8, band.bottom + 8));
    if (label.right() >= screenWidth)
        label.moveRight(band.right - 8);
    if (label.bottom() >= screenHeight)
        label.moveBottom(band.bottom - 8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 180));
    painter.drawRoundedRect(label, 3, 3);
    painter.setPen(Qt::white);
    painter.drawText(label, Qt::AlignCenter, text);
}

} // namespace

void PaintSelection(QPainter& painter, const RegionSelection& selection, int screenWidth, int screenHeight)
{
    const Point c = selection.current();
    if (selection.crosshairMode()) {
        StrokeTwice(painter, [&] {
            painter.drawLine(c.x, 0, c.x, screenHeight);
            painter.drawLine(0, c.y, screenWidth, c.y);
        });
        return;
    }
    const QPainterPath band = BandPath(selection);
    DimOutside(painter, band, screenWidth, screenHeight);
    StrokeTwice(painter, [&] {
        painter.drawPath(band);
        if (selection.shape() == SHAPE_CIRCLE)
            painter.drawLine(selection.anchor().x, selection.anchor().y, c.x, c.y);
    });
    if (selection.shape() == SHAPE_POLYGON)
        return;
    const CaptureAreaResult area = AreaForRequest(selection.Request(), screenWidth, screenHeight);
    const auto* shape = std::get_if<CaptureArea>(&area);
    const auto box = selection.BandBounds();
    if (shape && box)
        PaintSizeLabel(painter, *box, shape->rect(), screenWidth, screenHeight);
}

void PaintRectangleSelection(QPainter& painter, const Rect& area, int screenWidth, int screenHeight)
{
    // The outline a drag from corner to corner would draw.
    QPainterPath band;
    band.addRect(QRect(QPoint(area.left, area.top), QPoint(area.right, area.bottom)));
    DimOutside(painter, band, screenWidth, screenHeight);
    StrokeTwice(painter, [&] { painter.drawPath(band); });
    PaintSizeLabel(painter, area, area, screenWidth, screenHeight);
}

} // namespace vistrel
