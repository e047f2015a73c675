#pragma once
// The mouse cursor as the screen shows it, ready to be drawn into a capture.

#include "codec/bitmap.h"

namespace vistrel {

struct CursorImage {
    Bitmap image;     // straight (not premultiplied) 0xAARRGGBB; may be empty for a hidden cursor
    int hotX = 0;     // hot spot inside image
    int hotY = 0;
    int x = 0;        // pointer position, screen coordinates
    int y = 0;
};

} // namespace vistrel
