#pragma once
// The area a capture keeps: a rectangle in screen coordinates and the mask of the
// shape inside it, made from the points the selection overlay collects.
//
// An area that would be empty (no width, no height, or a shape that covers no
// pixel centre) is refused, so such a capture saves nothing; so is an area beyond
// FitsCaptureLimits, which no on-screen selection comes near.

#include "capture/core/capture_geometry.h"
#include "capture/core/shape_mask.h"

#include <optional>
#include <span>
#include <variant>
#include <vector>

namespace vistrel {

class CaptureArea;
using CaptureAreaResult = std::variant<CaptureArea, CaptureAreaError>;

class CaptureArea {
public:
    // (0, 0, screenWidth, screenHeight).
    static CaptureAreaResult FullScreen(int screenWidth, int screenHeight);
    // Rectangle and ellipse: from the smaller to the larger coordinates of the two
    // points; the ellipse is inscribed in that rectangle.
    static CaptureAreaResult Rectangle(Point anchor, Point current);
    static CaptureAreaResult Ellipse(Point anchor, Point current);
    // Centre = anchor, r = CircleRadius(anchor, current); the square
    // (cx - r, cy - r, cx + r, cy + r) with the circle inscribed in it.
    static CaptureAreaResult Circle(Point anchor, Point current);
    // The rectangle is the bounding box of the pixels the polygon covers (non-zero
    // winding rule, see polygon_mask.h); the mask is the polygon shifted by
    // (-left, -top). The vertices may repeat the first one at the end.
    static CaptureAreaResult Polygon(std::span<const Point> vertices);

    CaptureShape shape() const { return m_shape; }
    // Screen coordinates; never empty.
    const Rect& rect() const { return m_rect; }
    // rect().width() x rect().height(), relative to the rectangle's top-left.
    const ShapeMask& mask() const { return m_mask; }

private:
    CaptureArea(CaptureShape shape, Rect rect, ShapeMask mask);

    CaptureShape m_shape;
    Rect m_rect;
    ShapeMask m_mask;
};

// floor(sqrt(dx * dx + dy * dy)) of current minus anchor, exact; saturates at
// INT_MAX for points about 2^31 apart.
int CircleRadius(Point anchor, Point current);

// The vertex list the overlay finishes a polygon with: every vertex clicked
// (including the one appended by the first press of the double-click), then the
// double-click point, then the first vertex again. Nothing with fewer than 3
// clicked vertices: the double-click is then ignored and collection goes on.
std::optional<std::vector<Point>> ClosePolygon(std::span<const Point> clickedVertices,
                                               Point doubleClick);

} // namespace vistrel
