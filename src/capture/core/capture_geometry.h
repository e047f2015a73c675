#pragma once
// Plain geometry of a capture: the shape the user picked, points and rectangles in
// screen pixels, and the one size limit of every capture, whatever makes it (a
// shape, an area from the command line or the timer, a window, the X grab).
//
// A capture area can be larger than the screen (a circle near an edge), and its
// points may come from anywhere, so its size is capped: no side above
// kMaxCaptureSide and no more than kMaxCapturePixels pixels (512 MiB of ARGB).
// The largest circle a single 4K screen allows (side 8810) still fits. An area
// grabbed straight from the screen keeps only the part on the screen
// (VisiblePart), so a huge request costs no more than the screen.

#include <cstdint>
#include <limits>
#include <string>
#include <variant>

namespace vistrel {

enum CaptureShape : int {
    SHAPE_FULLSCREEN = 0,
    SHAPE_RECTANGLE = 1,
    SHAPE_CIRCLE = 2,
    SHAPE_ELLIPSE = 3,
    SHAPE_POLYGON = 4,
};

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// right and bottom are exclusive. width() and height() are 0 for an inverted
// rectangle and never overflow.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return Extent(left, right); }
    int height() const { return Extent(top, bottom); }
    bool isEmpty() const { return right <= left || bottom <= top; }
    friend bool operator==(const Rect&, const Rect&) = default;

private:
    static int Extent(int from, int to)
    {
        const int64_t extent = int64_t(to) - int64_t(from);
        if (extent <= 0)
            return 0;
        return extent > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                         : int(extent);
    }
};

constexpr int kMaxCaptureSide = 32767;
constexpr int64_t kMaxCapturePixels = int64_t(1) << 27;

constexpr bool FitsCaptureLimits(int64_t width, int64_t height)
{
    return width >= 0 && height >= 0 && width <= kMaxCaptureSide && height <= kMaxCaptureSide
        && width * height <= kMaxCapturePixels;
}

enum class CaptureAreaError {
    TooFewPoints, // a polygon of fewer than 3 vertices
    Empty,        // no pixel to keep
    OffScreen,    // an area grabbed from the screen that lies wholly off it
    TooLarge,     // beyond FitsCaptureLimits or the polygon limits
};

std::string DescribeAreaError(CaptureAreaError error);

// The part of the area (x, y, width, height) that lies on the screen: what a grab
// of that area keeps. Empty when the area has no width or height, OffScreen when
// none of it is on the screen, TooLarge when the part is beyond FitsCaptureLimits
// (a screen beyond them). Any int values; nothing overflows.
std::variant<Rect, CaptureAreaError> VisiblePart(int x, int y, int width, int height,
                                                 const Rect& screen);

} // namespace vistrel
