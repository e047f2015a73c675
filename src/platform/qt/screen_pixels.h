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

} // namespace vistrel
