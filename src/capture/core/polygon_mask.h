#pragma once
// Rasterizes a polygon under the non-zero winding rule, sampling pixel centres.
//
// Rows are sampled at y + 0.5 and vertices are integers, so a sample never meets
// a vertex or a horizontal edge. The one tie left, a pixel centre exactly on a
// slanted or vertical edge, goes to the side the polygon lies on to the right of
// the edge (a left edge includes it, a right edge does not). Two polygons that
// share an edge therefore never both own a pixel and leave no gap between them.
// The polygon closes by itself: the last vertex joins the first.

#include "capture/core/capture_geometry.h"
#include "capture/core/shape_mask.h"

#include <span>

namespace vistrel {

// Limits that keep the exact arithmetic in 64 bits and the work bounded.
constexpr size_t kMaxPolygonVertices = 1024;
constexpr int kMaxPolygonCoordinate = 1 << 29;

// Mask of width x height (0 x 0 outside FitsCaptureLimits) of the pixels whose
// centre lies inside the polygon; vertices are in the mask's coordinates. More
// than kMaxPolygonVertices vertices, or a coordinate beyond
// +-kMaxPolygonCoordinate, give a mask that covers nothing.
ShapeMask PolygonMask(std::span<const Point> vertices, int width, int height);

} // namespace vistrel
