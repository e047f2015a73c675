#pragma once
// Turns the frozen screen and a capture area into the image that is saved.
//
// The crop is the frozen screen under the area's rectangle (the screen's top-left
// is screen (0, 0)). Where the rectangle reaches past the screen, as a circle near
// an edge can, there is no screen pixel and the crop shows the background colour,
// inside the shape too. The cursor, when given, is drawn into the crop; then every
// pixel inside the mask keeps the crop and every pixel outside becomes the
// background colour, made opaque.

#include "capture/core/capture_area.h"
#include "capture/core/cursor_image.h"
#include "codec/bitmap.h"

#include <cstdint>

namespace vistrel {

Bitmap BuildShapedBitmap(const Bitmap& frozenScreen, const CaptureArea& area,
                         uint32_t backgroundArgb, const CursorImage* cursor = nullptr);

// The same, reusing the frozen screen's pixels when the area's rectangle is the
// whole screen, so that a full-screen capture makes no second full-size copy.
Bitmap BuildShapedBitmap(Bitmap&& frozenScreen, const CaptureArea& area,
                         uint32_t backgroundArgb, const CursorImage* cursor = nullptr);

} // namespace vistrel
