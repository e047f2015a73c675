#include "capture/core/capture_area.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using namespace vistrel;

namespace {

CaptureAreaError ErrorOf(const CaptureAreaResult& result)
{
    EXPECT_TRUE(std::holds_alternative<CaptureAreaError>(result));
    return std::holds_alternative<CaptureAreaError>(result) ? std::get<CaptureAreaError>(result)
                                                             : CaptureAreaError::TooFewPoints;
}

Rect RectOf(const CaptureAreaResult& result)
{
    EXPECT_TRUE(std::holds_alternative<CaptureArea>(result));
    return std::holds_alternative<CaptureArea>(result) ? std::get<CaptureArea>(result).rect() : Rect{};
}

} // namespace

TEST(CaptureAreaTest, TwoPointShapesSpanTheirPoints)
{
    EXPECT_EQ(RectOf(CaptureArea::Rectangle({30, 5}, {10, 25})), (Rect{10, 5, 30, 25}));
    EXPECT_EQ(RectOf(CaptureArea::Ellipse({10, 25}, {30, 5})), (Rect{10, 5, 30, 25}));
    EXPECT_EQ(RectOf(CaptureArea::FullScreen(1920, 1080)), (Rect{0, 0, 1920, 1080}));
    // r = floor(sqrt(dx^2 + dy^2)): 5 exactly, then floor(sqrt(8)) = 2.
    EXPECT_EQ(RectOf(CaptureArea::Circle({100, 100}, {103, 96})), (Rect{95, 95, 105, 105}));
    EXPECT_EQ(RectOf(CaptureArea::Circle({100, 100}, {98, 102})), (Rect{98, 98, 102, 102}));
}

TEST(CaptureAreaTest, EmptyAreasAndTooFewPointsAreRefused)
{
    EXPECT_EQ(ErrorOf(CaptureArea::Rectangle({10, 7}, {40, 7})), CaptureAreaError::Empty);
    EXPECT_EQ(ErrorOf(CaptureArea::Ellipse({10, 7}, {10, 70})), CaptureAreaError::Empty);
    EXPECT_EQ(ErrorOf(CaptureArea::Circle({10, 7}, {10, 7})), CaptureAreaError::Empty);
    EXPECT_EQ(ErrorOf(CaptureArea::FullScreen(0, 1080)), CaptureAreaError::Empty);
    EXPECT_EQ(ErrorOf(CaptureArea::Polygon(std::vector<Point>{{0, 0}, {5, 5}, {10, 10}})),
              CaptureAreaError::Empty);
    EXPECT_EQ(ErrorOf(CaptureArea::Polygon(std::vector<Point>{{0, 0}, {5, 5}})),
              CaptureAreaError::TooFewPoints);
    EXPECT_FALSE(ClosePolygon(std::vector<Point>{{0, 0}, {5, 5}}, {9, 0}).has_value());
}

TEST(CaptureAreaTest, PolygonFromClicksHasBoundingBoxOfItsPixels)
{
    // Three clicks, then a double-click on a fourth point whose first press was
    // already appended: that point stands twice in the list.
    const std::vector<Point> clicks{{10, 10}, {50, 12}, {48, 40}, {12, 38}};
    const auto closed = ClosePolygon(clicks, {12, 38});
    ASSERT_TRUE(closed.has_value());
    EXPECT_EQ(*closed, (std::vector<Point>{{10, 10}, {50, 12}, {48, 40}, {12, 38}, {12, 38}, {10, 10}}));
    EXPECT_EQ(RectOf(CaptureArea::Polygon(*closed)), (Rect{10, 10, 50, 40}));

    // A flat triangle covers only the left half of its vertices' box.
    const auto flat = CaptureArea::Polygon(std::vector<Point>{{100, 200}, {110, 200}, {100, 201}});
    EXPECT_EQ(RectOf(flat), (Rect{100, 200, 105, 201}));
    EXPECT_TRUE(std::get<CaptureArea>(flat).mask().contains(4, 0));
    EXPECT_EQ(std::get<CaptureArea>(flat).mask().width(), 5);
}

TEST(CaptureAreaTest, HugeCoordinatesAreRefusedWithoutOverflow)
{
    EXPECT_EQ(ErrorOf(CaptureArea::Circle({500, 500}, {100500, 500})), CaptureAreaError::TooLarge);
    EXPECT_EQ(ErrorOf(CaptureArea::Circle({INT_MAX, 0}, {INT_MAX - 2, 0})), CaptureAreaError::TooLarge);
    EXPECT_EQ(ErrorOf(CaptureArea::Rectangle({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX})), CaptureAreaError::TooLarge);
    EXPECT_EQ(ErrorOf(CaptureArea::FullScreen(kMaxCaptureSide, kMaxCaptureSide)), CaptureAreaError::TooLarge);
    EXPECT_EQ(ErrorOf(CaptureArea::Polygon(std::vector<Point>{{INT_MIN, 0}, {INT_MAX, 5}, {0, INT_MAX}})),
              CaptureAreaError::TooLarge);
    EXPECT_EQ(CircleRadius({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}), INT_MAX);
    EXPECT_EQ(CircleRadius({0, 0}, {2000000000, 1}), 2000000000);

    // The pixel limit: side 11584 fits, 11586 does not.
    EXPECT_EQ(RectOf(CaptureArea::Circle({0, 0}, {5792, 0})).width(), 11584);
    EXPECT_EQ(ErrorOf(CaptureArea::Circle({0, 0}, {5793, 0})), CaptureAreaError::TooLarge);
}

namespace {

std::variant<Rect, CaptureAreaError> OnScreen(int x, int y, int w, int h, Rect screen = {0, 0, 1920, 1080})
{
    return VisiblePart(x, y, w, h, screen);
}

} // namespace

TEST(CaptureAreaTest, AnAreaFromTheScreenKeepsOnlyItsVisiblePart)
{
    using Result = std::variant<Rect, CaptureAreaError>;
    EXPECT_EQ(OnScreen(10, 20, 30, 40), Result(Rect{10, 20, 40, 60}));
    // However large the request, no more than the screen is kept.
    EXPECT_EQ(OnScreen(0, 0, 12000, 12000), Result(Rect{0, 0, 1920, 1080}));
    EXPECT_EQ(OnScreen(-100, -100, INT_MAX, INT_MAX), Result(Rect{0, 0, 1920, 1080}));
    EXPECT_EQ(OnScreen(-16, -8, 64, 32), Result(Rect{0, 0, 48, 24}));
    EXPECT_EQ(OnScreen(1910, 1070, 20, 30), Result(Rect{1910, 1070, 1920, 1080}));

    // Nothing on the screen: refused, also where x + width would overflow an int.
    EXPECT_EQ(OnScreen(1920, 0, 10, 10), Result(CaptureAreaError::OffScreen));
    EXPECT_EQ(OnScreen(-10, 500, 10, 10), Result(CaptureAreaError::OffScreen));
    EXPECT_EQ(OnScreen(2000, -500, 40, 30), Result(CaptureAreaError::OffScreen));
    EXPECT_EQ(OnScreen(INT_MAX - 5, 0, INT_MAX, 10), Result(CaptureAreaError::OffScreen));
    EXPECT_EQ(OnScreen(INT_MIN, INT_MIN, INT_MAX, INT_MAX), Result(CaptureAreaError::OffScreen));
    EXPECT_EQ(OnScreen(5, 5, 0, 10), Result(CaptureAreaError::Empty));
    EXPECT_EQ(OnScreen(5, 5, 10, -1), Result(CaptureAreaError::Empty));
    EXPECT_NE(DescribeAreaError(CaptureAreaError::OffScreen).find("empty"), std::string::npos);

    // The one limit holds for what is kept, whatever the screen.
    EXPECT_EQ(OnScreen(0, 0, 40000, 10, {0, 0, 32767, 100}), Result(Rect{0, 0, 32767, 10}));
    EXPECT_EQ(OnScreen(-1, 0, 40000, 10, {-1, 0, 32767, 100}), Result(CaptureAreaError::TooLarge));
    EXPECT_EQ(OnScreen(0, 0, 20000, 20000, {0, 0, 20000, 20000}), Result(CaptureAreaError::TooLarge));
}
