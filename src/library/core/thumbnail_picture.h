#pragma once
// The thumbnails' pictures: a 120 x 100 frame (white inside, a one-pixel
// three-dimensional edge whose colours say what kind of file it is, a black
// ring between them) and the drawing of a picture into it. Plain pixels, any
// thread.

#include "codec/bitmap.h"
#include "library/core/fit_rule.h"

#include <cstdint>

namespace vistrel {

// Where the picture goes inside the frame.

// The desktop's colours that the frames use (opaque 0xAARRGGBB).
struct ThumbnailColours {
    uint32_t buttonFace = MakeArgb(240, 240, 240);
    uint32_t buttonShadow = MakeArgb(160, 160, 160);
    uint32_t buttonHighlight = MakeArgb(255, 255, 255);
};

Bitmap MakeThumbnailFrame(uint32_t topLeftEdge, uint32_t bottomRightEdge);

// picture scaled to at.width x at.height by picking the nearest source pixel,
// drawn opaque at (at.x, at.y); what falls outside target is left out.
void DrawScaled(Bitmap& target, const Bitmap& picture, const PlacedRect& at);

// picture at its own size with its top-left corner at (left, top), blended
// over target by its alpha; what falls outside target is left out.
void DrawBlended(Bitmap& target, const Bitmap& picture, int left, int top);

// picture made no larger than maxSide on either side (proportions kept, never
// enlarged): the size the shared thumbnail cache keeps.
Bitmap ShrinkToSide(const Bitmap& picture, int maxSide);

} // namespace vistrel
