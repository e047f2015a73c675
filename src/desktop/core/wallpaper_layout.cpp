#include "desktop/core/wallpaper_layout.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vistrel {

namespace {

// Floor division for a possibly negative numerator.
int HalfDown(int value) { return value >= 0 ? value / 2 : -((-value + 1) / 2); }

void Center(const Bitmap& picture, Bitmap& screen)
{
    const int left = HalfDown(screen.width - picture.width);
    const int top = HalfDown(screen.height - picture.height);
    const int x0 = std::max(0, left), x1 = std::min(screen.width, left + picture.width);
    const int y0 = std::max(0, top), y1 = std::min(screen.height, top + picture.height);
    for (int y = y0; y < y1; ++y)
        std::copy(picture.row(y - top) + (x0 - left), picture.row(y - top) + (x1 - left), screen.row(y) + x0);
}

void Tile(const Bitmap& picture, Bitmap& screen)
{
    for (int y = 0; y < screen.height; ++y) {
        const uint32_t* source = picture.row(y % picture.height);
        uint32_t* target = screen.row(y);
        for (int x = 0; x < screen.width; x += picture.width)
            std::copy(source, source + std::min(picture.width, screen.width - x), target + x);
    }
}

// The source index under the centre of target pixel i of n: floor((2i + 1) * size / 2n).
int SourceIndex(int i, int n, int size) { return int((int64_t(2 * i + 1) * size) / (int64_t(2) * n)); }

void Stretch(const Bitmap& picture, Bitmap& screen)
{
    std::vector<int> columns(size_t(screen.width));
    for (int x = 0; x < screen.width; ++x)
        columns[size_t(x)] = SourceIndex(x, screen.width, picture.width);
    for (int y = 0; y < screen.height; ++y) {
        const uint32_t* source = picture.row(SourceIndex(y, screen.height, picture.height));
        uint32_t* target = screen.row(y);
        for (int x = 0; x < screen.width; ++x)
            target[x] = source[columns[size_t(x)]];
    }
}

} // namespace

std::optional<WallpaperStyle> ParseWallpaperStyle(std::string_view word)
{
    if (word == "center" || word == "centre")
        return WallpaperStyle::Center;
    if (word == "tile")
        return WallpaperStyle::Tile;
    if (word == "stretch")
        return WallpaperStyle::Stretch;
    return std::nullopt;
}

Bitmap ComposeWallpaper(const Bitmap& picture, int width, int height, WallpaperStyle style, uint32_t fill)
{
    if (!picture.holdsAllPixels() || width <= 0 || height <= 0)
        return {};
    Bitmap screen(width, height, fill);
    switch (style) {
    case WallpaperStyle::Center: Center(picture, screen); break;
    case WallpaperStyle::Tile: Tile(picture, screen); break;
    case WallpaperStyle::Stretch: Stretch(picture, screen); break;
    }
    return screen;
}

} // namespace vistrel
