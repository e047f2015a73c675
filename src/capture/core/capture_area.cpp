#include "capture/core/capture_area.h"

#include "capture/core/integer_sqrt.h"
#include "capture/core/polygon_mask.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>

namespace vistrel {

namespace {

// Checks a rectangle given in 64 bits: first for emptiness, then for the limits
// and for coordinates that fit an int.
std::variant<Rect, CaptureAreaError> CheckedRect(int64_t left, int64_t top, int64_t right,
                                                 int64_t bottom)
{
    if (right <= left || bottom <= top)
        return CaptureAreaError::Empty;
    if (!FitsCaptureLimits(right - left, bottom - top))
        return CaptureAreaError::TooLarge;
    constexpr int64_t low = std::numeric_limits<int>::min();
    constexpr int64_t high = std::numeric_limits<int>::max();
    if (left < low || top < low || right > high || bottom > high)
        return CaptureAreaError::TooLarge;
    return Rect{int(left), int(top), int(right), int(bottom)};
}

std::variant<Rect, CaptureAreaError> SpannedRect(Point a, Point b)
{
    return CheckedRect(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                       std::max(a.y, b.y));
}

} // namespace

CaptureArea::CaptureArea(CaptureShape shape, Rect rect, ShapeMask mask)
    : m_shape(shape), m_rect(rect), m_mask(std::move(mask))
{
}

CaptureAreaResult CaptureArea::FullScreen(int screenWidth, int screenHeight)
{
    const auto rect = CheckedRect(0, 0, screenWidth, screenHeight);
    if (const auto* error = std::get_if<CaptureAreaError>(&rect))
        return *error;
    const Rect& r = std::get<Rect>(rect);
    return CaptureArea(SHAPE_FULLSCREEN, r, ShapeMask::Rectangle(r.width(), r.height()));
}

CaptureAreaResult CaptureArea::Rectangle(Point anchor, Point current)
{
    const auto rect = SpannedRect(anchor, current);
    if (const auto* error = std::get_if<CaptureAreaError>(&rect))
        return *error;
    const Rect& r = std::get<Rect>(rect);
    return CaptureArea(SHAPE_RECTANGLE, r, ShapeMask::Rectangle(r.width(), r.height()));
}

CaptureAreaResult CaptureArea::Ellipse(Point anchor, Point current)
{
    const auto rect = SpannedRect(anchor, current);
    if (const auto* error = std::get_if<CaptureAreaError>(&rect))
        return *error;
    const Rect& r = std::get<Rect>(rect);
    return CaptureArea(SHAPE_ELLIPSE, r, ShapeMask::Ellipse(r.width(), r.height()));
}

CaptureAreaResult CaptureArea::Circle(Point anchor, Point current)
{
    const int64_t r = CircleRadius(anchor, current);
    const auto rect = CheckedRect(anchor.x - r, anchor.y - r, anchor.x + r, anchor.y + r);
    if (const auto* error = std::get_if<CaptureAreaError>(&rect))
        return *error;
    return CaptureArea(SHAPE_CIRCLE, std::get<Rect>(rect), ShapeMask::Ellipse(int(2 * r), int(2 * r)));
}

CaptureAreaResult CaptureArea::Polygon(std::span<const Point> vertices)
{
    if (vertices.size() < 3)
        return CaptureAreaError::TooFewPoints;
    if (vertices.size() > kMaxPolygonVertices)
        return CaptureAreaError::TooLarge;

    // Every covered pixel lies inside the vertices' bounding box, so the polygon is
    // rasterized there first, in box coordinates, and then cut to what it covers.
    Rect box{vertices[0].x, vertices[0].y, vertices[0].x, vertices[0].y};
    for (const Point& p : vertices) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    const auto checkedBox = CheckedRect(box.left, box.top, box.right, box.bottom);
    if (const auto* error = std::get_if<CaptureAreaError>(&checkedBox))
        return *error;

    std::vector<Point> inBox;
    inBox.reserve(vertices.size());
    for (const Point& p : vertices)
        inBox.push_back({p.x - box.left, p.y - box.top});
    ShapeMask boxMask = PolygonMask(inBox, box.width(), box.height());
    const Rect covered = boxMask.bounds();
    if (covered.isEmpty())
        return CaptureAreaError::Empty;

    const Rect rect{box.left + covered.left, box.top + covered.top, box.left + covered.right,
                    box.top + covered.bottom};
    if (rect == box)
        return CaptureArea(SHAPE_POLYGON, rect, std::move(boxMask));
    return CaptureArea(SHAPE_POLYGON, rect, boxMask.cropped(covered));
}

std::variant<Rect, CaptureAreaError> VisiblePart(int x, int y, int width, int height,
                                                 const Rect& screen)
{
    if (width <= 0 || height <= 0)
        return CaptureAreaError::Empty;
    const int64_t left = std::max<int64_t>(x, screen.left);
    const int64_t top = std::max<int64_t>(y, screen.top);
    const int64_t right = std::min<int64_t>(int64_t(x) + width, screen.right);
    const int64_t bottom = std::min<int64_t>(int64_t(y) + height, screen.bottom);
    if (right <= left || bottom <= top)
        return CaptureAreaError::OffScreen;
    if (!FitsCaptureLimits(right - left, bottom - top))
        return CaptureAreaError::TooLarge;
    // Inside the screen's own int rectangle, so every value fits an int.
    return Rect{int(left), int(top), int(right), int(bottom)};
}

std::string DescribeAreaError(CaptureAreaError error)
{
    switch (error) {
    case CaptureAreaError::TooFewPoints: return "a polygon needs at least three points";
    case CaptureAreaError::Empty: return "the area is empty: nothing to capture";
    case CaptureAreaError::OffScreen: return "the area is empty: no part of it is on the screen";
    case CaptureAreaError::TooLarge: return "the area is too large to capture";
    }
    return "the area cannot be captured";
}

int CircleRadius(Point anchor, Point current)
{
    const uint64_t dx = uint64_t(std::abs(int64_t(current.x) - anchor.x));
    const uint64_t dy = uint64_t(std::abs(int64_t(current.y) - anchor.y));
    constexpr uint64_t maxRadius = uint64_t(std::numeric_limits<int>::max());
    // The radius is at least the larger distance; below 2^31 each, the sum of squares fits.
    if (std::max(dx, dy) >= maxRadius)
        return int(maxRadius);
    return int(std::min(IntegerSqrt(dx * dx + dy * dy), maxRadius));
}

std::optional<std::vector<Point>> ClosePolygon(std::span<const Point> clickedVertices,
                                               Point doubleClick)
{
    if (clickedVertices.size() < 3)
        return std::nullopt;
    std::vector<Point> closed(clickedVertices.begin(), clickedVertices.end());
    closed.push_back(doubleClick);
    closed.push_back(clickedVertices.front());
    return closed;
}

} // namespace vistrel
