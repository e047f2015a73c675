#include "capture/core/cursor_overlay.h"

#include <algorithm>
#include <cstdint>

namespace vistrel {

namespace {

uint8_t BlendChannel(uint8_t source, uint8_t target, uint32_t alpha)
{
    return uint8_t((source * alpha + target * (255 - alpha) + 127) / 255);
}

uint32_t BlendOver(uint32_t source, uint32_t target)
{
    const uint32_t alpha = AlphaOf(source);
    if (alpha == 0xFF)
        return (source & 0x00FFFFFF) | (target & 0xFF000000);
    if (alpha == 0)
        return target;
    return MakeArgb(BlendChannel(RedOf(source), RedOf(target), alpha),
                    BlendChannel(GreenOf(source), GreenOf(target), alpha),
                    BlendChannel(BlueOf(source), BlueOf(target), alpha), AlphaOf(target));
}

} // namespace

void DrawCursor(Bitmap& target, const CursorImage& cursor, int originX, int originY)
{
    const Bitmap& image = cursor.image;
    if (!target.holdsAllPixels() || !image.holdsAllPixels())
        return;
    // The image's top-left in target coordinates; 64 bits since every term is arbitrary.
    const int64_t left = int64_t(cursor.x) - cursor.hotX - originX;
    const int64_t top = int64_t(cursor.y) - cursor.hotY - originY;
    const int64_t firstX = std::max<int64_t>(left, 0);
    const int64_t endX = std::min<int64_t>(left + image.width, target.width);
    const int64_t firstY = std::max<int64_t>(top, 0);
    const int64_t endY = std::min<int64_t>(top + image.height, target.height);
    for (int64_t y = firstY; y < endY; ++y) {
        const uint32_t* source = image.row(int(y - top));
        uint32_t* destination = target.row(int(y));
        for (int64_t x = firstX; x < endX; ++x)
            destination[x] = BlendOver(source[x - left], destination[x]);
    }
}

} // namespace vistrel
