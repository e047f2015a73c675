// The highlight under the recorded cursor.

#include "record/core/cursor_highlight.h"

#include <gtest/gtest.h>

using namespace vistrel;

namespace {

struct Extent {
    int width = 0, height = 0, pixels = 0;
};

Extent Measure(int size, int shape)
{
    Bitmap frame(kHighlightBox, kHighlightBox, 0xFFFFFFFF);
    DrawHighlight(frame, 0, 0, size, shape, 0x000000); // black: every covered pixel turns black
    Extent e;
    int minX = kHighlightBox, maxX = -1, minY = kHighlightBox, maxY = -1;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            if ((frame.at(x, y) & 0xFFFFFF) == 0) {
                ++e.pixels;
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    e.width = maxX - minX + 1;
    e.height = maxY - minY + 1;
    return e;
}

} // namespace

TEST(CursorHighlight, ShapesHaveTheirSizes)
{
    EXPECT_EQ(Measure(128, HIGHLIGHT_SQUARE).pixels, 128 * 128); // size 128 fills the box
    const Extent ellipse = Measure(100, HIGHLIGHT_ELLIPSE);
    EXPECT_EQ(ellipse.width, 100);
    EXPECT_EQ(ellipse.height, 50);
    const Extent rectangle = Measure(100, HIGHLIGHT_RECTANGLE);
    EXPECT_EQ(rectangle.pixels, 100 * 50);
    const Extent circle = Measure(64, HIGHLIGHT_CIRCLE);
    EXPECT_EQ(circle.width, 64);
    EXPECT_EQ(circle.height, 64);
    // Round: fewer pixels than its square, about pi/4 of it.
    EXPECT_NEAR(circle.pixels, 64 * 64 * 0.785, 64);
    const HighlightBounds b = HighlightShapeBounds(1, HIGHLIGHT_CIRCLE);
    EXPECT_EQ(b.right - b.left, 1);
}

TEST(CursorHighlight, TintsByAndAndClipsAtTheFrame)
{
    Bitmap frame(10, 10, MakeArgb(0xF0, 0x80, 0xFF));
    // The box's top-left far up and left: only its lower right corner lands.
    DrawHighlight(frame, -120, -120, 128, HIGHLIGHT_SQUARE, 0x7DFFFF); // R 255, G 255, B 125
    EXPECT_EQ(frame.at(0, 0), MakeArgb(0xF0, 0x80, 0xFF & 0x7D));
    EXPECT_EQ(frame.at(7, 7), MakeArgb(0xF0, 0x80, 0x7D));
    EXPECT_EQ(frame.at(8, 8), MakeArgb(0xF0, 0x80, 0xFF)); // outside the box
    Bitmap empty;
    DrawHighlight(empty, 0, 0, 64, HIGHLIGHT_CIRCLE, 0); // nothing to draw into: nothing happens
}
