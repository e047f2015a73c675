#pragma once
// Between the toolkit's units, which its scaling (QT_SCALE_FACTOR, Xft.dpi)
// makes larger than a pixel, and the screen's own pixels, in which every
// capture is worked out. Rounded to the nearest pixel.

#include "capture/core/capture_geometry.h"

#include <QPointF>
#include <QRect>

namespace vistrel {

Point ToScreenPixels(QPointF logical, double ratio);
Rect ToScreenPixels(const QRect& logical, double ratio);
QRect ToLogical(const Rect& pixels, double ratio);

namespace x11 {
class Connection;
}
// Where the pointer is, in screen pixels, for an event at local (a window that
// covers the screen from its top-left corner). Scaled, the toolkit's positions
// lose the odd screen pixels, so the server is asked on pointerConn when given.
Point PointerScreenPixels(QPointF local, double ratio, const x11::Connection* pointerConn);

} // namespace vistrel
