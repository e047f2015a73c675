#include "capture/core/polygon_mask.h"
#include "capture/core/shape_mask.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace vistrel;

namespace {

// Winding number of a point in floating point, for comparison away from edges.
int WindingAt(const std::vector<Point>& poly, double px, double py, double& nearestEdge)
{
    int winding = 0;
    nearestEdge = 1e9;
    for (size_t i = 0; i < poly.size(); ++i) {
        const double x0 = poly[i].x, y0 = poly[i].y;
        const double x1 = poly[(i + 1) % poly.size()].x, y1 = poly[(i + 1) % poly.size()].y;
        const double length = std::hypot(x1 - x0, y1 - y0);
        if (length > 0)
            nearestEdge = std::min(nearestEdge, std::abs((x1 - x0) * (py - y0) - (px - x0) * (y1 - y0)) / length);
        if ((y0 <= py) != (y1 <= py)) {
            const double crossing = x0 + (py - y0) * (x1 - x0) / (y1 - y0);
            if (crossing < px)
                winding += y1 > y0 ? 1 : -1;
        }
    }
    return winding;
}

} // namespace

TEST(ShapeMask, EllipseIsSymmetricAndTestsPixelCentres)
{
    for (auto [w, h] : {std::pair{1, 1}, {1, 7}, {10, 10}, {11, 4}, {37, 23}, {64, 9}}) {
        const ShapeMask mask = ShapeMask::Ellipse(w, h);
        ASSERT_EQ(mask.width(), w);
        ASSERT_EQ(mask.height(), h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                EXPECT_EQ(mask.contains(x, y), mask.contains(w - 1 - x, y)) << w << "x" << h;
                EXPECT_EQ(mask.contains(x, y), mask.contains(x, h - 1 - y)) << w << "x" << h;
                const double dx = (x + 0.5 - w / 2.0) / (w / 2.0), dy = (y + 0.5 - h / 2.0) / (h / 2.0);
                const double value = dx * dx + dy * dy;
                if (std::abs(value - 1) > 1e-9) {
                    EXPECT_EQ(mask.contains(x, y), value < 1) << x << "," << y << " in " << w << "x" << h;
                }
            }
        }
    }
    EXPECT_EQ(ShapeMask::Ellipse(kMaxCaptureSide + 1, 1).height(), 0);
}

TEST(ShapeMask, RowsAreNormalisedAndCroppable)
{
    ShapeMask mask(10);
    mask.appendRow(std::vector<Span>{{6, 8}, {-5, 2}, {1, 4}, {8, 9}, {12, 20}, {5, 5}});
    mask.appendRow({});
    mask.appendRow(std::vector<Span>{{3, 4}});
    EXPECT_EQ(std::vector<Span>(mask.row(0).begin(), mask.row(0).end()),
              (std::vector<Span>{{0, 4}, {6, 9}}));
    EXPECT_EQ(mask.bounds(), (Rect{0, 0, 9, 3}));

    const ShapeMask part = mask.cropped({3, 0, 12, 4});
    EXPECT_EQ(part.width(), 9);
    EXPECT_EQ(part.height(), 4);
    EXPECT_TRUE(part.contains(0, 2));
    EXPECT_FALSE(part.contains(1, 0));
    EXPECT_TRUE(part.row(3).empty());
}

TEST(PolygonMask, MatchesWindingRuleAwayFromEdges)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-3, 40);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<Point> poly(3 + trial % 6);
        for (Point& p : poly)
            p = {coordinate(random), coordinate(random)};
        const ShapeMask mask = PolygonMask(poly, 40, 40);
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                double nearestEdge = 0;
                const int winding = WindingAt(poly, x + 0.5, y + 0.5, nearestEdge);
                if (nearestEdge > 1e-6) {
                    ASSERT_EQ(mask.contains(x, y), winding != 0) << "trial " << trial << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(PolygonMask, NeighboursShareEdgesWithoutOverlapOrGap)
{
    // Diagonals through pixel centres: each centre on them must go to exactly one side.
    for (Point corner : {Point{12, 12}, Point{6, 12}, Point{12, 3}}) {
        const std::vector<Point> upper{{0, 0}, corner, {corner.x, 0}};
        const std::vector<Point> lower{{0, 0}, {0, corner.y}, corner};
        const ShapeMask a = PolygonMask(upper, corner.x, corner.y);
        const ShapeMask b = PolygonMask(lower, corner.x, corner.y);
        for (int y = 0; y < corner.y; ++y)
            for (int x = 0; x < corner.x; ++x)
                EXPECT_NE(a.contains(x, y), b.contains(x, y)) << x << "," << y;
    }
}

TEST(PolygonMask, SelfIntersectingStarIsFilledUnderNonZero)
{
    // A pentagram: its centre pentagon is wound twice, so an even-odd fill would leave it empty.
    const std::vector<Point> star{{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    const ShapeMask mask = PolygonMask(star, 100, 100);
    EXPECT_TRUE(mask.contains(50, 50));
    EXPECT_TRUE(mask.contains(50, 5));
    EXPECT_FALSE(mask.contains(50, 95));

    std::vector<Point> tooMany(kMaxPolygonVertices + 1, Point{0, 0});
    tooMany[1] = {100, 0};
    tooMany[2] = {100, 100};
    EXPECT_TRUE(PolygonMask(tooMany, 100, 100).coversNothing());
    EXPECT_TRUE(PolygonMask(std::vector<Point>{{0, 0}, {1 << 30, 0}, {0, 50}}, 100, 100).coversNothing());
}
