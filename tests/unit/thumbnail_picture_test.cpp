#include "library/core/thumbnail_picture.h"

#include <gtest/gtest.h>

// The thumbnails' frame and drawing.

namespace vistrel {
namespace {

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
    DrawScaled(frame, picture, FitIntoArea(1000, 500, kThumbnailContent));
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
