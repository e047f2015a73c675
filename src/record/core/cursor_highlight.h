#pragma once
// The highlight under the recorded cursor: a circle, ellipse, square or
// rectangle in a 128 x 128 box, combined with the frame by bitwise AND, so the
// white around the shape leaves the frame as it is and the shape tints it like
// a marker pen.

#include "codec/bitmap.h"

#include <cstdint>

namespace vistrel {

constexpr int kHighlightBox = 128;
enum HighlightShape : int { HIGHLIGHT_CIRCLE = 0, HIGHLIGHT_ELLIPSE = 1, HIGHLIGHT_SQUARE = 2, HIGHLIGHT_RECTANGLE = 3 };

struct HighlightBounds {
    int left = 0, top = 0, right = 0, bottom = 0; // right and bottom exclusive
};
// The shape's box inside the 128 x 128 box for a size of 1 to 128.
HighlightBounds HighlightShapeBounds(int size, int shape);
// The same placement in a square of boxSide pixels: the shape side pixels
// wide (half as high when elongated), centred, halves truncated.
HighlightBounds CentredHighlightBounds(int side, int boxSide, int shape);

// Whether box pixel (x, y) is inside the shape.
bool HighlightCovers(const HighlightBounds& bounds, int shape, int x, int y);

// ANDs the highlight into frame with the box's top-left at (boxLeft, boxTop)
// (the cursor position minus 64 on both axes); clipped to the frame.
// colorRef: red in the low byte.
void DrawHighlight(Bitmap& frame, int boxLeft, int boxTop, int size, int shape, uint32_t colorRef);

} // namespace vistrel
