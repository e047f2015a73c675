#pragma once
// How a picture covers the screen as wallpaper, as exact integer geometry:
//  - centre: the picture's middle on the screen's middle (the left and top
//    margins are (screen - picture) / 2 rounded toward minus infinity, so an
//    odd leftover pixel goes to the right and bottom; a larger picture is cut
//    equally on both sides the same way); the rest is the fill colour;
//  - tile: copies side by side from the top-left corner, cut at the right and
//    bottom edges;
//  - stretch: scaled to the screen's size; each screen pixel takes the picture
//    pixel under its centre.
// Plain computation, any thread.

#include "codec/bitmap.h"

#include <optional>
#include <string_view>

namespace vistrel {

enum class WallpaperStyle { Center, Tile, Stretch };

// "center" (or "centre"), "tile", "stretch"; nullopt for anything else.
std::optional<WallpaperStyle> ParseWallpaperStyle(std::string_view word);

// The screen's picture, width x height, from picture. An empty picture or
// screen gives an empty bitmap.
Bitmap ComposeWallpaper(const Bitmap& picture, int width, int height, WallpaperStyle style, uint32_t fill);

// The colour around a centred picture smaller than the screen.
constexpr uint32_t kWallpaperFill = MakeArgb(0, 0, 0);

} // namespace vistrel
