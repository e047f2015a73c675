#include "capture/core/capture_area.h"
#include "capture/core/magnifier_geometry.h"
#include "capture/core/region_selection.h"

#include <gtest/gtest.h>

using namespace vistrel;
using Step = RegionSelection::Step;

TEST(RegionSelection, TwoClicksMakeARectangleFromTheLastMouseMove)
{
    RegionSelection s(SHAPE_RECTANGLE);
    EXPECT_TRUE(s.crosshairMode());
    s.MouseMove({10, 20});
    s.MouseMove({30, 40}); // moving alone selects nothing
    EXPECT_FALSE(s.hasAnchor());
    EXPECT_EQ(s.BandBounds(), std::nullopt);
    EXPECT_EQ(s.LeftButtonDown({30, 40}), Step::Continue);
    EXPECT_FALSE(s.crosshairMode());
    EXPECT_EQ(s.anchor(), (Point {30, 40}));
    s.MouseMove({130, 90});
    EXPECT_EQ(s.BandBounds(), (Rect {30, 40, 130, 90}));
    // The click's own position is not used: the last move is.
    EXPECT_EQ(s.LeftButtonDown({500, 500}), Step::Finished);
    auto area = AreaForRequest(s.Request(), 800, 600);
    ASSERT_TRUE(std::holds_alternative<CaptureArea>(area));
    EXPECT_EQ(std::get<CaptureArea>(area).rect(), (Rect {30, 40, 130, 90}));

    // Leftwards and upwards: the band is normalised, its sizes positive.
    RegionSelection back(SHAPE_ELLIPSE);
    back.LeftButtonDown({200, 200});
    back.MouseMove({150, 120});
    EXPECT_EQ(back.BandBounds(), (Rect {150, 120, 200, 200}));
    EXPECT_EQ(MagnifierPositionText({150, 120}, back.BandBounds()), "X:150 Y:120 50 X 80");

    // A second click without a move in between: an empty area, refused.
    RegionSelection still(SHAPE_RECTANGLE);
    still.LeftButtonDown({5, 5});
    EXPECT_EQ(still.LeftButtonDown({5, 5}), Step::Finished);
    EXPECT_TRUE(std::holds_alternative<CaptureAreaError>(AreaForRequest(still.Request(), 800, 600)));
}

TEST(RegionSelection, CircleBandIsItsSquare)
{
    RegionSelection s(SHAPE_CIRCLE);
    s.LeftButtonDown({100, 100});
    s.MouseMove({103, 104}); // radius 5
    EXPECT_EQ(s.BandBounds(), (Rect {95, 95, 105, 105}));
}

TEST(RegionSelection, PolygonNeedsThreeVerticesAndADoubleClick)
{
    RegionSelection s(SHAPE_POLYGON);
    s.LeftButtonDown({10, 10});
    s.MouseMove({50, 10});
    EXPECT_EQ(s.LeftButtonDown({50, 10}), Step::Continue);
    EXPECT_EQ(s.LeftDoubleClick({50, 10}), Step::Continue); // two vertices: ignored
    s.MouseMove({30, 60});
    EXPECT_EQ(s.BandBounds(), (Rect {10, 10, 50, 60}));
    // The double click's first press adds its point; the double click finishes.
    s.LeftButtonDown({30, 60});
    EXPECT_EQ(s.LeftDoubleClick({30, 60}), Step::Finished);
    auto area = AreaForRequest(s.Request(), 800, 600);
    ASSERT_TRUE(std::holds_alternative<CaptureArea>(area));
    const Rect box = std::get<CaptureArea>(area).rect();
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 10);
    EXPECT_LE(box.right, 50);
    EXPECT_LE(box.bottom, 60);
}

TEST(RegionSelection, PressDragReleaseGivesWhatTwoClicksAtTheSamePointsGive)
{
    for (CaptureShape shape : {SHAPE_RECTANGLE, SHAPE_CIRCLE, SHAPE_ELLIPSE}) {
        RegionSelection dragged(shape);
        dragged.LeftButtonDown({40, 50});
        dragged.MouseMove({200, 100});
        EXPECT_EQ(dragged.LeftButtonUp({240, 130}), Step::Finished) << shape; // the release point counts
        RegionSelection clicked(shape);
        clicked.LeftButtonDown({40, 50});
        clicked.LeftButtonUp({40, 50});
        clicked.MouseMove({240, 130});
        EXPECT_EQ(clicked.LeftButtonDown({240, 130}), Step::Finished) << shape;
        EXPECT_EQ(dragged.Request().points, clicked.Request().points) << shape;
    }

    // Under three pixels the release is part of a click: the selection goes on,
    // and the next click finishes it.
    RegionSelection wobble(SHAPE_RECTANGLE);
    wobble.LeftButtonDown({10, 10});
    EXPECT_EQ(wobble.LeftButtonUp({12, 8}), Step::Continue);
    wobble.MouseMove({60, 40});
    EXPECT_EQ(wobble.LeftButtonUp({60, 40}), Step::Continue); // no button down: nothing
    EXPECT_EQ(wobble.LeftButtonDown({60, 40}), Step::Finished);
    EXPECT_EQ(wobble.Request().points, (std::vector<Point> {{10, 10}, {60, 40}}));
    RegionSelection three(SHAPE_ELLIPSE);
    three.LeftButtonDown({10, 10});
    EXPECT_EQ(three.LeftButtonUp({10, 13}), Step::Finished);

    // A polygon is clicked out; its buttons' releases change nothing.
    RegionSelection polygon(SHAPE_POLYGON);
    polygon.LeftButtonDown({10, 10});
    EXPECT_EQ(polygon.LeftButtonUp({90, 90}), Step::Continue);
    EXPECT_EQ(polygon.vertices().size(), 1u);
}

TEST(RegionSelection, EnterFinishesAPolygonOfThreeOrMoreVerticesAsClicked)
{
    RegionSelection s(SHAPE_POLYGON);
    EXPECT_EQ(s.EnterKey(), Step::Continue);
    s.LeftButtonDown({10, 10});
    s.LeftButtonDown({50, 10});
    EXPECT_EQ(s.EnterKey(), Step::Continue); // two vertices
    s.MouseMove({30, 60});
    s.LeftButtonDown({30, 60});
    s.MouseMove({300, 300}); // where the pointer is plays no part
    EXPECT_EQ(s.EnterKey(), Step::Finished);
    EXPECT_EQ(s.Request().points, (std::vector<Point> {{10, 10}, {50, 10}, {30, 60}}));
    RegionSelection rectangle(SHAPE_RECTANGLE);
    rectangle.LeftButtonDown({10, 10});
    EXPECT_EQ(rectangle.EnterKey(), Step::Continue);
}

TEST(RegionSelection, FullScreenIgnoresClicksAndEveryShapeCancels)
{
    RegionSelection full(SHAPE_FULLSCREEN);
    EXPECT_EQ(full.LeftButtonDown({1, 1}), Step::Continue);
    EXPECT_FALSE(full.hasAnchor());
    EXPECT_EQ(full.Request().kind, CaptureKind::FullScreen);
    for (CaptureShape shape : {SHAPE_RECTANGLE, SHAPE_CIRCLE, SHAPE_ELLIPSE, SHAPE_POLYGON}) {
        RegionSelection s(shape);
        EXPECT_EQ(s.Cancel(), Step::Cancelled); // before the first click
        s.LeftButtonDown({1, 1});
        EXPECT_EQ(s.Cancel(), Step::Cancelled); // and after it
    }
}

TEST(RegionSelection, PickableWindows)
{
    constexpr uint32_t kMain = 0x400001, kRoot = 0x100;
    EXPECT_TRUE(IsPickableWindow(0x500002, true, 0, kMain, kRoot));
    EXPECT_FALSE(IsPickableWindow(0, true, 0, kMain, kRoot));
    EXPECT_FALSE(IsPickableWindow(0x500002, false, 0, kMain, kRoot));        // gone
    EXPECT_FALSE(IsPickableWindow(0x500002, true, 0x500002, kMain, kRoot)); // framed already
    EXPECT_FALSE(IsPickableWindow(kMain, true, 0, kMain, kRoot));
    EXPECT_FALSE(IsPickableWindow(0x400007, true, 0, kMain, kMain)); // a child of ours
}

TEST(Magnifier, TextsRatiosAndZoomSource)
{
    EXPECT_EQ(MagnifierPositionText({12, 34}, std::nullopt), "X:12 Y:34");
    EXPECT_EQ(MagnifierRatioText(2), "Ratio: 2");
    int ratio = kMagnifierStartRatio;
    for (int i = 0; i < 20; ++i)
        ratio = RatioAfterKey(ratio, 107);
    EXPECT_EQ(ratio, 10);
    EXPECT_EQ(RatioAfterKey(ratio, 43), 10);
    for (int i = 0; i < 20; ++i)
        ratio = RatioAfterKey(ratio, 45);
    EXPECT_EQ(ratio, 1);
    EXPECT_EQ(RatioAfterKey(ratio, 109), 1);
    EXPECT_EQ(RatioAfterKey(3, 'H'), 3);
    // Ratio 2 and a 250 x 248 zoom show the 125 x 124 pixels around the cursor.
    EXPECT_EQ(ZoomSource({400, 300}, 250, 248, 2), (Rect {338, 238, 463, 362}));
    EXPECT_EQ(ZoomSource({0, 0}, 250, 248, 2), (Rect {-62, -62, 63, 62}));
}

TEST(Magnifier, JumpsClockwiseAmongTheCornersOfThePointersMonitor)
{
    const std::vector<Rect> monitors {{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};
    Rect panel {0, 1080 - 300, 200, 1080}; // bottom-left, where it starts
    auto move = [&](Point cursor) {
        if (auto at = PanelPlacement(cursor, panel, monitors))
            panel = {at->x, at->y, at->x + 200, at->y + 300};
    };
    move({900, 500}); // far away: stays
    EXPECT_EQ(panel, (Rect {0, 780, 200, 1080}));
    move({205, 790}); // within 10 pixels: to the top-left
    EXPECT_EQ(panel, (Rect {0, 0, 200, 300}));
    move({10, 10});
    EXPECT_EQ(panel, (Rect {1720, 0, 1920, 300}));
    move({1900, 100});
    EXPECT_EQ(panel, (Rect {1720, 780, 1920, 1080}));
    move({1800, 1000});
    EXPECT_EQ(panel, (Rect {0, 780, 200, 1080}));
    // The pointer on the second monitor: the panel goes there, bottom-left,
    // and then keeps to that monitor's corners.
    move({2500, 500});
    EXPECT_EQ(panel, (Rect {1920, 724, 2120, 1024}));
    move({1925, 800});
    EXPECT_EQ(panel, (Rect {1920, 0, 2120, 300}));
    move({2000, 100});
    EXPECT_EQ(panel, (Rect {3000, 0, 3200, 300}));
    EXPECT_EQ(CornerOf(panel, monitors[1]), Corner::TopRight);
}
