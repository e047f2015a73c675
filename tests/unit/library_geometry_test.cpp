// The fit rule of the thumbnails, the preview and the viewer, and the viewer's
// full-extent placement and stepping.
#include "library/core/fit_rule.h"
#include "library/core/viewer_geometry.h"

#include <gtest/gtest.h>

using namespace vistrel;

TEST(FitRule, ThumbnailPlacements)
{
    EXPECT_EQ(FitIntoArea(1000, 500, kThumbnailContent), (PlacedRect{2, 21, 116, 58}));
    EXPECT_EQ(FitIntoArea(500, 1000, kThumbnailContent), (PlacedRect{36, 2, 48, 96}));
    // Never enlarged, centred with integer halves.
    EXPECT_EQ(FitIntoArea(50, 40, kThumbnailContent), (PlacedRect{35, 30, 50, 40}));
    EXPECT_EQ(FitIntoArea(116, 96, kThumbnailContent), (PlacedRect{2, 2, 116, 96}));
}

TEST(FitRule, SecondStepWhenTheFirstOverflows)
{
    // Square into a wide area: height first, fits.
    EXPECT_EQ(FitIntoArea(400, 400, {0, 0, 200, 100}), (PlacedRect{50, 0, 100, 100}));
    // Nearly square, taller than wide, into a flat area: width would overflow
    // after the height step, so the second step applies.
    EXPECT_EQ(FitIntoArea(300, 310, {0, 0, 100, 300}), (PlacedRect{0, 98, 99, 103}));
    // Wide picture into a narrow, tall area and the reverse overflow.
    EXPECT_EQ(FitIntoArea(310, 300, {10, 20, 300, 100}), (PlacedRect{108, 20, 103, 99}));
}

TEST(FitRule, DegenerateInputs)
{
    EXPECT_EQ(FitIntoArea(0, 10, kThumbnailContent), (PlacedRect{2, 2, 0, 0}));
    EXPECT_EQ(FitIntoArea(10, 10, {5, 5, 0, 20}), (PlacedRect{5, 5, 0, 0}));
    // A very thin picture keeps one pixel.
    EXPECT_EQ(FitIntoArea(1, 100000, kThumbnailContent), (PlacedRect{59, 2, 1, 96}));
    // The largest pictures the codec allows do not overflow.
    EXPECT_EQ(FitIntoArea(32768, 32768, {0, 0, 1024, 768}), (PlacedRect{128, 0, 768, 768}));
}

TEST(FitRule, IconSquareIsThirtyTwoInAnyLargeArea)
{
    EXPECT_EQ(FitIntoArea(32, 32, {0, 0, 120, 100}), (PlacedRect{44, 34, 32, 32}));
    EXPECT_EQ(FitIntoArea(32, 32, {0, 0, 40, 20}), (PlacedRect{10, 0, 20, 20}));
}

TEST(ViewerGeometry, LargePictureStartsCentredAndStopsAtTheEdges)
{
    EXPECT_EQ(FullExtentOrigin(3000, 1024, 1024, 0), -988);
    EXPECT_EQ(FullExtentOrigin(2000, 768, 768, 0), -616);
    // Dragged right: the left edge stops at 0.
    EXPECT_EQ(FullExtentOrigin(3000, 1024, 1024, 900), -88);
    EXPECT_EQ(FullExtentOrigin(3000, 1024, 1024, 988), 0);
    EXPECT_EQ(FullExtentOrigin(3000, 1024, 1024, 5000), 0);
    // Dragged left: the right edge stops at the screen's edge.
    EXPECT_EQ(FullExtentOrigin(3000, 1024, 1024, -988), -1976);
    EXPECT_EQ(FullExtentOrigin(3000, 1024, 1024, -5000), 1024 - 3000);
}

TEST(ViewerGeometry, SmallPictureStaysCentred)
{
    for (int pan : {-300, 0, 300}) {
        EXPECT_EQ(FullExtentOrigin(640, 1024, 1024, pan), 192);
        EXPECT_EQ(FullExtentOrigin(480, 768, 768, pan), 144);
    }
}

TEST(ViewerGeometry, PanRangeIsWhereThePictureStillMoves)
{
    const PanRange range = FullExtentPanRange(3000, 1024, 1024);
    EXPECT_EQ(range.lowest, -988);
    EXPECT_EQ(range.highest, 988);
    EXPECT_EQ(FullExtentOrigin(3000, 1024, 1024, range.highest), 0);
    EXPECT_EQ(FullExtentOrigin(3000, 1024, 1024, range.highest - 1), -1);
    EXPECT_EQ(FullExtentOrigin(3000, 1024, 1024, range.lowest), 1024 - 3000);
    EXPECT_EQ(FullExtentOrigin(3000, 1024, 1024, range.lowest + 1), 1024 - 3000 + 1);
    EXPECT_EQ(FullExtentPanRange(640, 1024, 1024).lowest, 0);
    EXPECT_EQ(FullExtentPanRange(640, 1024, 1024).highest, 0);
}

TEST(ViewerGeometry, FitToWindow)
{
    EXPECT_EQ(FitToWindow(3000, 2000, 1024, 768), (PlacedRect{0, 43, 1024, 682}));
    EXPECT_EQ(FitToWindow(640, 480, 1024, 768), (PlacedRect{192, 144, 640, 480}));
}

TEST(ViewerGeometry, PreviousAndNextWrap)
{
    EXPECT_FALSE(StepPosition(-1, 0, 1));
    EXPECT_FALSE(StepPosition(0, 1, 1)); // one bitmap: nothing to step to
    EXPECT_FALSE(StepPosition(0, 1, -1));
    EXPECT_EQ(StepPosition(-1, 3, 1), 0); // never used: Next shows the first entry
    EXPECT_EQ(StepPosition(-1, 3, -1), 2);
    EXPECT_EQ(StepPosition(0, 3, -1), 2);
    EXPECT_EQ(StepPosition(2, 3, 1), 0);
    EXPECT_EQ(StepPosition(1, 3, 1), 2);
    EXPECT_EQ(StepPosition(1, 3, -1), 0);
    // A position left behind by a delete.
    EXPECT_EQ(StepPosition(7, 3, -1), 2);
    EXPECT_EQ(StepPosition(7, 3, 1), 0);
}
