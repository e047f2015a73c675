#include "capture/core/polygon_mask.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace vistrel {

namespace {

struct Edge {
    int64_t x0, y0, dx, dy; // dy != 0
    int64_t firstRow, endRow; // rows whose sample line y + 0.5 crosses the edge
    int direction;
};

struct Crossing {
    int64_t firstPixel; // first x whose centre lies at or right of the crossing
    int direction;
};

int64_t CeilDiv(int64_t numerator, int64_t denominator) // denominator > 0
{
    return numerator >= 0 ? (numerator + denominator - 1) / denominator
                          : -((-numerator) / denominator);
}

bool WithinCoordinateLimit(const Point& p)
{
    return std::abs(int64_t(p.x)) <= kMaxPolygonCoordinate
        && std::abs(int64_t(p.y)) <= kMaxPolygonCoordinate;
}

std::vector<Edge> NonHorizontalEdges(std::span<const Point> vertices)
{
    std::vector<Edge> edges;
    for (size_t i = 0; i < vertices.size(); ++i) {
        const Point& from = vertices[i];
        const Point& to = vertices[(i + 1) % vertices.size()];
        if (from.y == to.y)
            continue;
        edges.push_back({from.x, from.y, int64_t(to.x) - from.x, int64_t(to.y) - from.y,
                         std::min(from.y, to.y), std::max(from.y, to.y), to.y > from.y ? 1 : -1});
    }
    return edges;
}

// x + 0.5 >= crossing  <=>  x >= ceil(crossing - 0.5), where on the line y + 0.5
// crossing - 0.5 = (2 x0 dy + (2 (y - y0) + 1) dx - dy) / (2 dy).
int64_t FirstPixelRightOf(const Edge& e, int64_t y)
{
    int64_t numerator = 2 * e.x0 * e.dy + (2 * (y - e.y0) + 1) * e.dx - e.dy;
    int64_t denominator = 2 * e.dy;
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    return CeilDiv(numerator, denominator);
}

} // namespace

ShapeMask PolygonMask(std::span<const Point> vertices, int width, int height)
{
    if (!FitsCaptureLimits(width, height))
        return {};
    ShapeMask mask(width);
    const bool usable = vertices.size() <= kMaxPolygonVertices
        && std::all_of(vertices.begin(), vertices.end(), WithinCoordinateLimit);
    const std::vector<Edge> edges = usable ? NonHorizontalEdges(vertices) : std::vector<Edge>{};

    std::vector<Crossing> crossings;
    std::vector<Span> runs;
    for (int y = 0; y < height; ++y) {
        crossings.clear();
        for (const Edge& e : edges) {
            if (e.firstRow <= y && y < e.endRow)
                crossings.push_back({FirstPixelRightOf(e, y), e.direction});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& a, const Crossing& b) { return a.firstPixel < b.firstPixel; });

        runs.clear();
        int winding = 0;
        int64_t runBegin = 0;
        for (size_t i = 0; i < crossings.size();) {
            const int64_t x = crossings[i].firstPixel;
            const int before = winding;
            for (; i < crossings.size() && crossings[i].firstPixel == x; ++i)
                winding += crossings[i].direction;
            if (before == 0 && winding != 0)
                runBegin = x;
            else if (before != 0 && winding == 0)
                runs.push_back({int(std::clamp<int64_t>(runBegin, -1, int64_t(width) + 1)),
                                int(std::clamp<int64_t>(x, -1, int64_t(width) + 1))});
        }
        mask.appendRow(runs);
    }
    return mask;
}

} // namespace vistrel
