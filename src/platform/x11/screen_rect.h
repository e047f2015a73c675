#pragma once
// A rectangle in root-window (screen) coordinates. Arithmetic is done in 64 bits
// so that areas handed in from outside cannot overflow while being clipped.

#include <algorithm>
#include <cstdint>

namespace vistrel::x11 {

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    bool contains(int px, int py) const
    {
        return int64_t(px) >= x && int64_t(px) < int64_t(x) + width && int64_t(py) >= y &&
               int64_t(py) < int64_t(y) + height;
    }
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// The common part of two rectangles; empty (all zero) when they do not overlap.
inline ScreenRect Intersect(const ScreenRect& a, const ScreenRect& b)
{
    const int64_t left = std::max<int64_t>(a.x, b.x);
    const int64_t top = std::max<int64_t>(a.y, b.y);
    const int64_t right = std::min<int64_t>(int64_t(a.x) + a.width, int64_t(b.x) + b.width);
    const int64_t bottom = std::min<int64_t>(int64_t(a.y) + a.height, int64_t(b.y) + b.height);
    if (right <= left || bottom <= top)
        return {};
    return {int(left), int(top), int(right - left), int(bottom - top)};
}

} // namespace vistrel::x11
