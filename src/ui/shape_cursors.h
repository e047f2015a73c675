#pragma once
// The overlay's mouse pointers, drawn for this program: a crosshair framed by a
// small outline of the shape being chosen, with a small arrow at its lower
// right. The hot spot is the crosshair's centre.

#include "capture/core/capture_geometry.h"

#include <QCursor>

namespace vistrel {

QCursor ShapeCursor(CaptureShape shape);

} // namespace vistrel
