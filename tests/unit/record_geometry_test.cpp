// The recorded area: fitting to the screen, the fixed-size selection at the
// screen's edges, and the auto-pan step.

#include "record/core/record_geometry.h"

#include "capture/core/region_selection.h"

#include <gtest/gtest.h>

using namespace vistrel;

TEST(RecordGeometry, FittingKeepsTheAreaWholeOnTheScreen)
{
    constexpr int W = 1024, H = 768;
    EXPECT_EQ(FitToScreen({0, 0, 2000, 100}, W, H), (RecordRegion{0, 0, 1023, 100})); // wider than the screen
    EXPECT_EQ(FitToScreen({5, -10, 104, 89}, W, H), (RecordRegion{5, 0, 104, 99}));   // moved, size kept
    EXPECT_EQ(FitToScreen({1000, 700, 1099, 799}, W, H), (RecordRegion{924, 668, 1023, 767}));
    EXPECT_EQ(FitToScreen({99, 99, 0, 0}, W, H), (RecordRegion{0, 0, 99, 99})); // dragged the other way
    EXPECT_EQ(FitToScreen({-3000, -3000, 5000, 5000}, W, H), FullScreenRegion(W, H));
    // Corners near the limits of int do not overflow.
    const RecordRegion far = FitToScreen({INT32_MAX - 10, INT32_MIN, INT32_MAX, INT32_MIN + 9}, W, H);
    EXPECT_EQ(far, (RecordRegion{1013, 0, 1023, 9}));
}

TEST(RecordGeometry, AFixedRectangleStaysWholeAtTheScreenEdges)
{
    constexpr int W = 800, H = 600;
    const RecordRegion fixed = FitToScreen({0, 0, 319, 199}, W, H);
    const FixedOffsets offsets = OffsetsFromCentre(fixed);
    EXPECT_EQ(FixedRectAt(0, 0, offsets, 320, 200, W, H), (RecordRegion{0, 0, 319, 199}));
    EXPECT_EQ(FixedRectAt(400, 300, offsets, 320, 200, W, H), (RecordRegion{241, 201, 560, 400}));
    EXPECT_EQ(FixedRectAt(799, 599, offsets, 320, 200, W, H), (RecordRegion{480, 400, 799, 599}));
    // Larger than the screen: shrunk to it before it is shown.
    EXPECT_EQ(FitToScreen({0, 0, 999, 199}, W, H), (RecordRegion{0, 0, 799, 199}));
}

TEST(RecordGeometry, AutoPanFollowsTheCursorAtMostSpeedPixelsPerFrame)
{
    constexpr int W = 1000, H = 800;
    const RecordRegion area{200, 200, 399, 399}; // middle half: 249..349 on both axes
    // Inside the middle half: no move.
    EXPECT_EQ(AutoPanStep(area, 300, 300, W, H, 20), area);
    EXPECT_EQ(AutoPanStep(area, 249, 349, W, H, 20), area);
    // 100 pixels outside, speed 20: 20 pixels this frame.
    EXPECT_EQ(AutoPanStep(area, 499, 300, W, H, 20), (RecordRegion{220, 200, 419, 399}));
    EXPECT_EQ(AutoPanStep(area, 300, 100, W, H, 20), (RecordRegion{200, 180, 399, 379}));
    // Closer to the target than the speed: the rest of the way at once.
    EXPECT_EQ(AutoPanStep({150, 200, 349, 399}, 190, 300, W, H, 200).left, 90);
    // Never off the screen, whatever the speed.
    EXPECT_EQ(AutoPanStep(area, 999, 799, W, H, 200), (RecordRegion{400, 400, 599, 599}));
    EXPECT_EQ(AutoPanStep({790, 590, 989, 789}, 999, 799, W, H, 200), (RecordRegion{800, 600, 999, 799}));
    EXPECT_EQ(AutoPanStep({10, 10, 209, 209}, 0, 0, W, H, 200), (RecordRegion{0, 0, 199, 199}));
    // A full-screen area does not pan.
    EXPECT_FALSE(CanAutoPan(1000, 100, W, H));
    EXPECT_FALSE(CanAutoPan(100, 800, W, H));
    EXPECT_TRUE(CanAutoPan(999, 799, W, H));
}

TEST(RecordGeometry, ADragChoosesTheSamePixelsAsTheStillCaptureOfIt)
{
    constexpr int W = 1024, H = 768;
    // press, drag, release: the still capture of this drag is 500 x 300.
    RegionSelection drag(SHAPE_RECTANGLE);
    drag.MouseMove({100, 100});
    ASSERT_EQ(drag.LeftButtonDown({100, 100}), RegionSelection::Step::Continue);
    drag.MouseMove({600, 400});
    ASSERT_EQ(drag.LeftButtonUp({600, 400}), RegionSelection::Step::Finished);
    const auto region = RegionOfSelection(drag, W, H);
    ASSERT_TRUE(region);
    EXPECT_EQ(*region, (RecordRegion{100, 100, 599, 399}));
    EXPECT_EQ(region->width(), 500);
    EXPECT_EQ(region->height(), 300);

    // Click, move, click, from lower right to upper left: the same pixels.
    RegionSelection clicks(SHAPE_RECTANGLE);
    clicks.LeftButtonDown({600, 400});
    ASSERT_EQ(clicks.LeftButtonUp({600, 400}), RegionSelection::Step::Continue);
    clicks.MouseMove({100, 100});
    ASSERT_EQ(clicks.LeftButtonDown({100, 100}), RegionSelection::Step::Finished);
    EXPECT_EQ(RegionOfSelection(clicks, W, H), region);

    // Two clicks on one point, and a line, choose nothing.
    RegionSelection point(SHAPE_RECTANGLE);
    point.LeftButtonDown({30, 30});
    point.LeftButtonUp({30, 30});
    ASSERT_EQ(point.LeftButtonDown({30, 30}), RegionSelection::Step::Finished);
    EXPECT_FALSE(RegionOfSelection(point, W, H));
    RegionSelection line(SHAPE_RECTANGLE);
    line.LeftButtonDown({30, 30});
    ASSERT_EQ(line.LeftButtonUp({90, 30}), RegionSelection::Step::Finished);
    EXPECT_FALSE(RegionOfSelection(line, W, H));
}

TEST(RecordGeometry, AnAreaAndARegionNameTheSamePixels)
{
    EXPECT_EQ(RegionOfArea({10, 20, 110, 70}), (RecordRegion{10, 20, 109, 69}));
    EXPECT_EQ(AreaOfRegion({10, 20, 109, 69}), (Rect{10, 20, 110, 70}));
    EXPECT_EQ(AreaOfRegion(RegionOfArea({0, 0, 1, 1})).width(), 1);
}
