#include "capture/core/cursor_overlay.h"
#include "capture/core/shaped_bitmap.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>

using namespace vistrel;

namespace {

const uint32_t kBackground = ArgbFromColorRef(0x007D7D00); // RGB(0, 125, 125)
const uint32_t kScreenColour = MakeArgb(200, 10, 40);

// Every pixel different, so a misplaced copy shows.
Bitmap PatternScreen(int w, int h)
{
    Bitmap screen(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            screen.at(x, y) = MakeArgb(uint8_t(x), uint8_t(y), uint8_t(x * 7 + y * 3));
    return screen;
}

const CaptureArea& AreaOf(const CaptureAreaResult& result) { return std::get<CaptureArea>(result); }

} // namespace

TEST(ShapedBitmap, CircleShowsBackgroundOutsideAndPastTheScreen)
{
    EXPECT_EQ(kBackground, MakeArgb(0, 125, 125));
    const Bitmap screen(200, 100, kScreenColour);
    const auto circle = CaptureArea::Circle({100, 50}, {130, 90}); // r = 50
    const Bitmap out = BuildShapedBitmap(screen, AreaOf(circle), kBackground);
    ASSERT_EQ(out.width, 100);
    ASSERT_EQ(out.height, 100);
    for (auto [x, y] : {std::pair{0, 0}, {99, 0}, {0, 99}, {99, 99}})
        EXPECT_EQ(out.at(x, y), kBackground);
    EXPECT_EQ(out.at(50, 50), kScreenColour);
    // The square reaches to screen y = 0 and y = 100, so its first and last rows
    // lie on the screen; a circle at the top edge does not.
    const auto nearEdge = CaptureArea::Circle({20, 5}, {20, 25}); // rect (0, -15, 40, 25)
    const Bitmap cut = BuildShapedBitmap(screen, AreaOf(nearEdge), kBackground & 0x00FFFFFF);
    EXPECT_EQ(cut.at(20, 2), kBackground); // inside the circle, above the screen, made opaque
    EXPECT_EQ(cut.at(20, 16), kScreenColour);
}

TEST(ShapedBitmap, MaskedShapesCopyTheScreenInsideOnly)
{
    const Bitmap screen = PatternScreen(120, 90);
    const std::vector<Point> star{{60, 10}, {89, 80}, {12, 35}, {108, 35}, {31, 80}};
    for (const auto& result : {CaptureArea::Polygon(star), CaptureArea::Ellipse({3, 70}, {50, 4}),
                               CaptureArea::Rectangle({110, 80}, {5, 7})}) {
        const CaptureArea& area = AreaOf(result);
        const Bitmap out = BuildShapedBitmap(screen, area, kBackground);
        ASSERT_EQ(out.width, area.rect().width());
        ASSERT_EQ(out.height, area.rect().height());
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x)
                ASSERT_EQ(out.at(x, y), area.mask().contains(x, y)
                                            ? screen.at(area.rect().left + x, area.rect().top + y)
                                            : kBackground);
    }
}

TEST(ShapedBitmap, FullScreenIsTheScreenReusingItsPixels)
{
    Bitmap screen = PatternScreen(64, 48);
    const Bitmap expected = screen;
    const uint32_t* storage = screen.pixels.data();
    const auto full = CaptureArea::FullScreen(64, 48);
    EXPECT_EQ(BuildShapedBitmap(screen, AreaOf(full), kBackground).pixels, expected.pixels);
    const Bitmap out = BuildShapedBitmap(std::move(screen), AreaOf(full), kBackground);
    EXPECT_EQ(out.pixels.data(), storage);
    EXPECT_EQ(out.pixels, expected.pixels);

    Bitmap broken(64, 48, kScreenColour);
    broken.pixels.resize(10);
    EXPECT_EQ(BuildShapedBitmap(broken, AreaOf(full), kBackground).at(63, 47), kBackground);
}

TEST(ShapedBitmap, CursorSitsAtPointerMinusHotSpotBlendedAndClipped)
{
    CursorImage cursor;
    cursor.image = Bitmap(4, 3, MakeArgb(255, 255, 255));
    cursor.image.at(0, 0) = MakeArgb(255, 0, 0, 128);
    cursor.image.at(1, 0) = MakeArgb(0, 0, 0, 0);
    cursor.hotX = 2;
    cursor.hotY = 1;
    cursor.x = 12;
    cursor.y = 21;
    const Bitmap screen(40, 30, MakeArgb(0, 0, 255));
    const auto full = CaptureArea::FullScreen(40, 30);

    EXPECT_EQ(BuildShapedBitmap(screen, AreaOf(full), kBackground).pixels, screen.pixels);
    const Bitmap out = BuildShapedBitmap(Bitmap(screen), AreaOf(full), kBackground, &cursor);
    EXPECT_EQ(out.at(10, 20), MakeArgb(128, 0, 127));
    EXPECT_EQ(out.at(11, 20), MakeArgb(0, 0, 255));
    EXPECT_EQ(out.at(13, 22), MakeArgb(255, 255, 255));
    EXPECT_EQ(out.at(14, 23), MakeArgb(0, 0, 255));

    // A timer shot of a region starting at (11, 20): the cursor stays where it was,
    // and its column left of the region is cut off.
    Bitmap region(5, 5, MakeArgb(0, 0, 255));
    DrawCursor(region, cursor, 11, 20);
    EXPECT_EQ(region.at(0, 0), MakeArgb(0, 0, 255));
    EXPECT_EQ(region.at(1, 0), MakeArgb(255, 255, 255));
    EXPECT_EQ(region.at(3, 0), MakeArgb(0, 0, 255));
    cursor.x = INT_MAX;
    DrawCursor(region, cursor, INT_MIN, 0);
    EXPECT_EQ(region.at(4, 4), MakeArgb(0, 0, 255));

    // Drawn outside a circle's mask, it is covered by the background again.
    cursor.x = 2;
    cursor.y = 1;
    const Bitmap circle = BuildShapedBitmap(screen, AreaOf(CaptureArea::Circle({10, 10}, {10, 20})),
                                            kBackground, &cursor);
    EXPECT_EQ(circle.at(0, 0), kBackground);
}
