#include "record/core/cursor_highlight.h"

#include <algorithm>

namespace vistrel {

HighlightBounds CentredHighlightBounds(int side, int boxSide, int shape)
{
    const double s = side;
    const double box = boxSide;
    const bool elongated = shape == HIGHLIGHT_ELLIPSE || shape == HIGHLIGHT_RECTANGLE;
    const double high = elongated ? s * 0.5 : s;
    // Truncated toward zero, as the values are all positive.
    return {int((box - s) * 0.5), int((box - high) * 0.5), int((box + s) * 0.5), int((box + high) * 0.5)};
}

HighlightBounds HighlightShapeBounds(int size, int shape)
{
    return CentredHighlightBounds(std::clamp(size, 1, kHighlightBox), kHighlightBox, shape);
}

bool HighlightCovers(const HighlightBounds& b, int shape, int x, int y)
{
    if (x < b.left || x >= b.right || y < b.top || y >= b.bottom)
        return false;
    if (shape == HIGHLIGHT_SQUARE || shape == HIGHLIGHT_RECTANGLE)
        return true;
    // The pixel's centre inside the ellipse of the box, in integers: doubled
    // coordinates so the half pixels are whole.
    const int64_t w = b.right - b.left, h = b.bottom - b.top;
    const int64_t dx = 2 * (x - b.left) + 1 - w, dy = 2 * (y - b.top) + 1 - h;
    return dx * dx * h * h + dy * dy * w * w <= w * w * h * h;
}

void DrawHighlight(Bitmap& frame, int boxLeft, int boxTop, int size, int shape, uint32_t colorRef)
{
    if (!frame.holdsAllPixels())
        return;
    const HighlightBounds bounds = HighlightShapeBounds(size, shape);
    const uint32_t tint = ArgbFromColorRef(colorRef) | 0xFF000000u;
    const int64_t firstY = std::max<int64_t>(int64_t(boxTop) + bounds.top, 0);
    const int64_t endY = std::min<int64_t>(int64_t(boxTop) + bounds.bottom, frame.height);
    const int64_t firstX = std::max<int64_t>(int64_t(boxLeft) + bounds.left, 0);
    const int64_t endX = std::min<int64_t>(int64_t(boxLeft) + bounds.right, frame.width);
    for (int64_t y = firstY; y < endY; ++y) {
        uint32_t* row = frame.row(int(y));
        for (int64_t x = firstX; x < endX; ++x) {
            if (HighlightCovers(bounds, shape, int(x - boxLeft), int(y - boxTop)))
                row[x] &= tint;
        }
    }
}

} // namespace vistrel
