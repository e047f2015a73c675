#pragma once
// Draws the mouse cursor into a capture where the screen showed it: the image's
// top-left at the pointer position minus the hot spot, at the image's own size.

#include "capture/core/cursor_image.h"
#include "codec/bitmap.h"

namespace vistrel {

// originX, originY: the screen position of the target's top-left pixel. The
// cursor is clipped to the target and blended by its straight alpha; the target
// is taken as opaque and keeps its own alpha bytes.
void DrawCursor(Bitmap& target, const CursorImage& cursor, int originX, int originY);

} // namespace vistrel
