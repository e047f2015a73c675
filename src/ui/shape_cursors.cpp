#include "ui/shape_cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vistrel {

namespace {

constexpr int kSide = 32;

struct CursorDesign {
    QPoint hotSpot;
    void (*outline)(QPainter&, QPoint centre);
};

void Square(QPainter& p, QPoint c) { p.drawRect(c.x() - 6, c.y() - 6, 12, 12); }
void Circle(QPainter& p, QPoint c) { p.drawEllipse(c, 7, 7); }
void Ellipse(QPainter& p, QPoint c) { p.drawEllipse(c, 9, 5); }
void Nothing(QPainter&, QPoint) {}

// White under black, so the pointer shows on dark and light screens alike.
void Stroke(QPainter& p, const CursorDesign& design)
{
    const QPoint c = design.hotSpot;
    for (const auto& [colour, width] : {std::pair{Qt::white, 3}, std::pair{Qt::black, 1}}) {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawLine(c.x() - 10, c.y(), c.x() + 10, c.y());
        p.drawLine(c.x(), c.y() - 10, c.x(), c.y() + 10);
        design.outline(p, c);
    }
    // The small arrow at the lower right.
    QPainterPath arrow;
    arrow.moveTo(c.x() + 9, c.y() + 9);
    arrow.lineTo(c.x() + 9, c.y() + 19);
    arrow.lineTo(c.x() + 12, c.y() + 16);
    arrow.lineTo(c.x() + 15, c.y() + 20);
    arrow.lineTo(c.x() + 17, c.y() + 19);
    arrow.lineTo(c.x() + 14, c.y() + 15);
    arrow.lineTo(c.x() + 18, c.y() + 15);
    arrow.closeSubpath();
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::black);
    p.drawPath(arrow);
}

} // namespace

QCursor ShapeCursor(CaptureShape shape)
{
    CursorDesign design {{11, 12}, Nothing}; // polygon and anything else: the plain crosshair
    switch (shape) {
    case SHAPE_RECTANGLE: design = {{11, 11}, Square}; break;
    case SHAPE_CIRCLE: design = {{12, 12}, Circle}; break;
    case SHAPE_ELLIPSE: design = {{14, 10}, Ellipse}; break;
    default: break;
    }
    QPixmap picture(kSide, kSide);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    Stroke(painter, design);
    painter.end();
    return QCursor(picture, design.hotSpot.x(), design.hotSpot.y());
}

} // namespace vistrel
