// Where the library puts pictures: the fit rule, the viewer's position at
// actual size, and the thumbnails' frame and drawing.
#include "library/core/fit_rule.h"
#include "library/core/thumbnail_picture.h"
#include "library/core/viewer_geometry.h"

#include <gtest/gtest.h>

namespace vistrel {
namespace {

TEST(FitRule, WideImageFillsTheWidthAndIsCentredVertically)
{
    EXPECT_EQ(FitImage(1000, 500, kThumbnailContent), (PlacedRect{2, 21, 116, 58}));
}

TEST(FitRule, TallImageFillsTheHeightAndIsCentredHorizontally)
{
    EXPECT_EQ(FitImage(500, 1000, kThumbnailContent), (PlacedRect{36, 2, 48, 96}));
}

TEST(FitRule, SmallImageIsNeverEnlarged)
{
    EXPECT_EQ(FitImage(50, 40, kThumbnailContent), (PlacedRect{35, 30, 50, 40}));
}

TEST(FitRule, TallImageTooWideForAFlatAreaIsFittedToTheWidth)
{
    // W <= H but the area is flatter still: the width decides.
    // nh = 40 x 200 / 180 = 44.4 -> 44, then nw = 90 x 0.44 = 39.6 -> 39.
    EXPECT_EQ(FitImage(90, 100, {0, 0, 40, 200}), (PlacedRect{0, 78, 39, 44}));
}

TEST(FitRule, WideImageTooTallForANarrowAreaIsFittedToTheHeight)
{
    // nw = 30 x 300 / 270 = 33.3 -> 33, then nh = 90 x 0.33 = 29.7 -> 29.
    EXPECT_EQ(FitImage(100, 90, {10, 10, 300, 30}), (PlacedRect{10 + 133, 10, 33, 29}));
}

TEST(FitRule, ScreenSizedCaptureInAScreen)
{
    EXPECT_EQ(FitImage(1920, 1080, {0, 0, 1024, 768}), (PlacedRect{0, 96, 1024, 576}));
}

TEST(FitRule, EmptyImageOrAreaGivesNothing)
{
    EXPECT_EQ(FitImage(0, 10, kThumbnailContent), (PlacedRect{2, 2, 0, 0}));
    EXPECT_EQ(FitImage(10, 10, {5, 5, 0, 10}), (PlacedRect{5, 5, 0, 0}));
}

TEST(ViewerGeometry, LargeImageStartsCentred)
{
    EXPECT_EQ(FullExtentOrigin(3000, 1024, 1024, 0), -988);
    EXPECT_EQ(FullExtentOrigin(2000, 768, 768, 0), -616);
}

TEST(ViewerGeometry, LargeImageDragsUntilAnEdgeReachesTheScreen)
{
    EXPECT_EQ(FullExtentOrigin(3000, 1024, 1024, 500), -488);
    EXPECT_EQ(FullExtentOrigin(3000, 1024, 1024, 988), 0);
    EXPECT_EQ(FullExtentOrigin(3000, 1024, 1024, 5000), 0);     // left edge stays at 0
    EXPECT_EQ(FullExtentOrigin(3000, 1024, 1024, -988), -1976); // right edge at the screen's
    EXPECT_EQ(FullExtentOrigin(3000, 1024, 1024, -5000), -1976);
}

TEST(ViewerGeometry, SmallImageStaysCentredWhateverTheDrag)
{
    EXPECT_EQ(FullExtentOrigin(640, 1024, 1024, 0), 192);
    EXPECT_EQ(FullExtentOrigin(640, 1024, 1024, 300), 192);
    EXPECT_EQ(FullExtentOrigin(480, 768, 768, -300), 144);
}

TEST(ThumbnailFrame, EdgesRingAndWhiteInside)
{
    const uint32_t tl = MakeArgb(1, 2, 3), br = MakeArgb(4, 5, 6);
    const Bitmap frame = MakeThumbnailFrame(tl, br);
    ASSERT_EQ(frame.width, 120);
    ASSERT_EQ(frame.height, 100);
    EXPECT_EQ(frame.at(0, 0), tl);
    EXPECT_EQ(frame.at(118, 0), tl);
    EXPECT_EQ(frame.at(0, 98), tl);
    EXPECT_EQ(frame.at(119, 0), br);
    EXPECT_EQ(frame.at(0, 99), br);
    EXPECT_EQ(frame.at(119, 99), br);
    EXPECT_EQ(frame.at(1, 1), MakeArgb(0, 0, 0));
    EXPECT_EQ(frame.at(118, 50), MakeArgb(0, 0, 0));
    EXPECT_EQ(frame.at(2, 2), MakeArgb(255, 255, 255));
    EXPECT_EQ(frame.at(117, 97), MakeArgb(255, 255, 255));
}

TEST(ThumbnailDrawing, ScaledPictureCoversExactlyItsRectangle)
{
    Bitmap picture(1000, 500, MakeArgb(200, 0, 0));
    for (int y = 0; y < 500; ++y)
        for (int x = 500; x < 1000; ++x)
            picture.at(x, y) = MakeArgb(0, 0, 200); // right half blue
    Bitmap frame = MakeThumbnailFrame(0, 0);
    DrawScaled(frame, picture, FitImage(1000, 500, kThumbnailContent));
    EXPECT_EQ(frame.at(2, 21), MakeArgb(200, 0, 0));
    EXPECT_EQ(frame.at(117, 78), MakeArgb(0, 0, 200));
    EXPECT_EQ(frame.at(2, 20), MakeArgb(255, 255, 255)); // above it: untouched
    EXPECT_EQ(frame.at(50, 79), MakeArgb(255, 255, 255)); // below it
}

TEST(ThumbnailDrawing, BlendedPictureKeepsTheBackgroundWhereTransparent)
{
    Bitmap target(4, 1, MakeArgb(255, 255, 255));
    Bitmap picture(2, 1);
    picture.at(0, 0) = MakeArgb(0, 0, 0, 0);
    picture.at(1, 0) = MakeArgb(0, 0, 0, 255);
    DrawBlended(target, picture, 1, 0);
    EXPECT_EQ(target.at(1, 0), MakeArgb(255, 255, 255));
    EXPECT_EQ(target.at(2, 0), MakeArgb(0, 0, 0));
    DrawBlended(target, picture, 3, 0); // half outside: cut, not overrun
    EXPECT_EQ(target.at(3, 0), MakeArgb(255, 255, 255));
}

TEST(ThumbnailDrawing, ShrinkKeepsProportionsAndSmallPictures)
{
    const Bitmap big(1920, 1080);
    const Bitmap shrunk = ShrinkToSide(big, 128);
    EXPECT_EQ(shrunk.width, 128);
    EXPECT_EQ(shrunk.height, 72);
    const Bitmap small(100, 20);
    EXPECT_EQ(ShrinkToSide(small, 128).width, 100);
}

} // namespace
} // namespace vistrel
