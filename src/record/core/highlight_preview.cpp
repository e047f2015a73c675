#include "record/core/highlight_preview.h"

#include <algorithm>

namespace vistrel {

HighlightBounds HighlightPreviewBounds(int size, int shape)
{
    return CentredHighlightBounds(std::clamp(size, 1, kHighlightBox) / 2, kHighlightPreviewBox, shape);
}

Bitmap HighlightPreview(bool on, int size, int shape, uint32_t colorRef)
{
    Bitmap picture(kHighlightPreviewBox, kHighlightPreviewBox, kHighlightPreviewBackground);
    if (!on)
        return picture;
    const HighlightBounds bounds = HighlightPreviewBounds(size, shape);
    const uint32_t fill = ArgbFromColorRef(colorRef);
    for (int y = bounds.top; y < bounds.bottom; ++y)
        for (int x = bounds.left; x < bounds.right; ++x)
            if (HighlightCovers(bounds, shape, x, y))
                picture.at(x, y) = fill;
    return picture;
}

} // namespace vistrel
