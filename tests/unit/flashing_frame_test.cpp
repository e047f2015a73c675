#include "record/core/flashing_frame.h"

#include <gtest/gtest.h>

using namespace vistrel;

namespace {

bool Inside(const FrameStrip& s, int x, int y) { return x >= s.x && x < s.x + s.width && y >= s.y && y < s.y + s.height; }

bool Covered(const std::vector<FrameStrip>& shape, int x, int y)
{
    for (const auto& s : shape)
        if (Inside(s, x, y))
            return true;
    return false;
}

} // namespace

TEST(FlashingFrame, NeverCoversTheAreaAndHugsItsCorners)
{
    for (bool pan : {false, true}) {
        for (RecordRegion area : {RecordRegion{100, 50, 299, 169}, RecordRegion{10, 10, 12, 11},
                                  RecordRegion{0, 0, 799, 599}}) {
            const auto shape = FlashingFrameShape(area, pan);
            ASSERT_FALSE(shape.empty());
            const int t = pan ? 4 : 8;
            for (int y = area.top - t - 2; y <= area.bottom + t + 2; ++y)
                for (int x = area.left - t - 2; x <= area.right + t + 2; ++x) {
                    const bool inArea = x >= area.left && x <= area.right && y >= area.top && y <= area.bottom;
                    const bool inRing = !inArea && x >= area.left - t && x <= area.right + t &&
                                        y >= area.top - t && y <= area.bottom + t;
                    if (!inRing) {
                        ASSERT_FALSE(Covered(shape, x, y)) << x << "," << y << " pan " << pan;
                    }
                }
            // The four outer corners and the pixels touching the area's corners diagonally.
            for (auto [x, y] : {std::pair{area.left - 1, area.top - 1}, std::pair{area.right + 1, area.bottom + 1},
                                std::pair{area.left - t, area.bottom + t}, std::pair{area.right + t, area.top - t}})
                EXPECT_TRUE(Covered(shape, x, y)) << x << "," << y << " pan " << pan;
        }
    }
    const auto brackets = FlashingFrameShape({100, 50, 299, 169}, false);
    EXPECT_FALSE(Covered(brackets, 200, 45)); // the middle of a side stays open
    EXPECT_TRUE(Covered(FlashingFrameShape({100, 50, 299, 169}, true), 200, 47));
    EXPECT_TRUE(FlashingFrameShape({5, 5, 4, 4}, false).empty());
}
