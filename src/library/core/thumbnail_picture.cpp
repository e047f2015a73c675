#include "library/core/thumbnail_picture.h"

#include <algorithm>
#include <vector>

namespace vistrel {

namespace {

void FillRect(Bitmap& target, int left, int top, int width, int height, uint32_t colour)
{
    const int right = std::min(target.width, left + width), bottom = std::min(target.height, top + height);
    for (int y = std::max(0, top); y < bottom; ++y)
        std::fill(target.row(y) + std::max(0, left), target.row(y) + std::max(right, std::max(0, left)), colour);
}

uint8_t Blend(uint8_t over, uint8_t under, unsigned alpha)
{
    return uint8_t((over * alpha + under * (255 - alpha) + 127) / 255);
}

} // namespace

Bitmap MakeThumbnailFrame(uint32_t topLeftEdge, uint32_t bottomRightEdge)
{
    Bitmap frame(kThumbnailWidth, kThumbnailHeight, MakeArgb(0, 0, 0));
    const PlacedRect& c = kThumbnailContent;
    FillRect(frame, c.x, c.y, c.width, c.height, MakeArgb(255, 255, 255));
    FillRect(frame, 0, 0, kThumbnailWidth - 1, 1, topLeftEdge);
    FillRect(frame, 0, 0, 1, kThumbnailHeight - 1, topLeftEdge);
    FillRect(frame, kThumbnailWidth - 1, 0, 1, kThumbnailHeight, bottomRightEdge);
    FillRect(frame, 0, kThumbnailHeight - 1, kThumbnailWidth, 1, bottomRightEdge);
    return frame;
}

void DrawScaled(Bitmap& target, const Bitmap& picture, const PlacedRect& at)
{
    if (!picture.holdsAllPixels() || !target.holdsAllPixels() || at.width <= 0 || at.height <= 0)
        return;
    // Source column of each target column: the nearest one, computed once.
    std::vector<int> columns(size_t(at.width));
    for (int x = 0; x < at.width; ++x)
        columns[size_t(x)] = int((int64_t(x) * 2 + 1) * picture.width / (int64_t(at.width) * 2));
    for (int y = 0; y < at.height; ++y) {
        const int ty = at.y + y;
        if (ty < 0 || ty >= target.height)
            continue;
        const uint32_t* src = picture.row(int((int64_t(y) * 2 + 1) * picture.height / (int64_t(at.height) * 2)));
        uint32_t* dst = target.row(ty);
        for (int x = 0; x < at.width; ++x) {
            const int tx = at.x + x;
            if (tx >= 0 && tx < target.width)
                dst[tx] = src[columns[size_t(x)]] | 0xFF000000u;
        }
    }
}

void DrawBlended(Bitmap& target, const Bitmap& picture, int left, int top)
{
    if (!picture.holdsAllPixels() || !target.holdsAllPixels())
        return;
    for (int y = std::max(0, -top); y < picture.height && top + y < target.height; ++y) {
        const uint32_t* src = picture.row(y);
        uint32_t* dst = target.row(top + y);
        for (int x = std::max(0, -left); x < picture.width && left + x < target.width; ++x) {
            const uint32_t over = src[x], under = dst[left + x];
            const unsigned a = AlphaOf(over);
            dst[left + x] = MakeArgb(Blend(RedOf(over), RedOf(under), a), Blend(GreenOf(over), GreenOf(under), a),
                                     Blend(BlueOf(over), BlueOf(under), a));
        }
    }
}

Bitmap ShrinkToSide(const Bitmap& picture, int maxSide)
{
    if (!picture.holdsAllPixels() || (picture.width <= maxSide && picture.height <= maxSide))
        return picture;
    const PlacedRect size = FitIntoArea(picture.width, picture.height, {0, 0, maxSide, maxSide});
    Bitmap shrunk(size.width, size.height);
    DrawScaled(shrunk, picture, {0, 0, size.width, size.height});
    return shrunk;
}

} // namespace vistrel
