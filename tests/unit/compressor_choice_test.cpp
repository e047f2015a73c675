// The compressor check: sizes rounded to multiples of 2, 4 and 8, and the
// silent fallback to the default compressor.

#include "record/core/compressor_choice.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace vistrel;

namespace {

constexpr FourCC kQuad = MakeFourCC('Q', 'U', 'A', 'D');
constexpr FourCC kNone = MakeFourCC('N', 'O', 'N', 'E');
constexpr FourCC kAny = MakeFourCC('A', 'N', 'Y', ' ');

// Installed compressors: QUAD takes only multiples of 4, NONE takes nothing,
// ANY (the default here) takes every size; DIVX and IV50 claim every size.
class FakeEncoders : public CompressorQuery {
public:
    mutable std::vector<std::pair<int, int>> asked;
    bool Has(FourCC code) const override
    {
        return code == kQuad || code == kNone || code == kAny || code == kFourCCDivx || code == kFourCCIv50;
    }
    bool Accepts(FourCC code, int width, int height) const override
    {
        asked.emplace_back(width, height);
        if (code == kQuad)
            return width % 4 == 0 && height % 4 == 0;
        return code != kNone;
    }
};

} // namespace

TEST(CompressorChoice, SizesAreRoundedUpOrDownAtTheScreenEdge)
{
    FakeEncoders encoders;
    auto choice = ChooseCompressor(encoders, kQuad, kAny, 10, 10, 101, 75, 1024, 768);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->code, kQuad);
    EXPECT_EQ(choice->width, 104);
    EXPECT_EQ(choice->height, 76);
    EXPECT_FALSE(choice->fellBack);
    // Tried as it is, then at factor 2 (102 x 76), then at 4.
    EXPECT_EQ(encoders.asked, (std::vector<std::pair<int, int>>{{101, 75}, {102, 76}, {104, 76}}));

    // At the right and bottom edge, rounding up would pass the screen: down instead.
    choice = ChooseCompressor(encoders, kQuad, kAny, 923, 693, 101, 75, 1024, 768);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->width, 100);
    EXPECT_EQ(choice->height, 72);

    EXPECT_EQ(RoundSideToFactor(0, 3, 3, 8), 0); // nothing left when rounded down
    EXPECT_EQ(RoundSideToFactor(0, 16, 16, 8), 16);
    EXPECT_EQ(RoundSideToFactor(1016, 3, 1024, 8), 8);
}

TEST(CompressorChoice, ACompressorThatTakesNothingGivesWayToTheDefaultSilently)
{
    FakeEncoders encoders;
    auto choice = ChooseCompressor(encoders, kNone, kAny, 0, 0, 101, 75, 1024, 768);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->code, kAny);
    EXPECT_EQ(choice->width, 101); // the size the recording was started with
    EXPECT_EQ(choice->height, 75);
    EXPECT_TRUE(choice->fellBack);

    // Not installed at all.
    choice = ChooseCompressor(encoders, MakeFourCC('G', 'O', 'N', 'E'), kAny, 0, 0, 64, 64, 1024, 768);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->code, kAny);

    // Never used, even when chosen and installed.
    for (FourCC never : {kFourCCDivx, kFourCCIv50}) {
        choice = ChooseCompressor(encoders, never, kAny, 0, 0, 64, 64, 1024, 768);
        ASSERT_TRUE(choice);
        EXPECT_EQ(choice->code, kAny);
        EXPECT_TRUE(choice->fellBack);
    }
}

TEST(CompressorChoice, TheDefaultGetsTheSameSizeTestAndMayRefuseToo)
{
    FakeEncoders encoders;
    // The default (like Microsoft Video 1) takes only multiples of 4.
    auto choice = ChooseCompressor(encoders, kNone, kQuad, 0, 0, 101, 75, 1024, 768);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->code, kQuad);
    EXPECT_EQ(choice->width, 104);
    EXPECT_TRUE(choice->fellBack);
    // Chosen as the default itself: no fallback to report.
    choice = ChooseCompressor(encoders, kQuad, kQuad, 0, 0, 8, 8, 1024, 768);
    ASSERT_TRUE(choice);
    EXPECT_FALSE(choice->fellBack);
    // Nothing takes the area: no recording.
    EXPECT_FALSE(ChooseCompressor(encoders, kNone, kNone, 0, 0, 101, 75, 1024, 768));
    // A 3-pixel-wide area at the edge cannot become a multiple of 4.
    EXPECT_FALSE(ChooseCompressor(encoders, kQuad, kQuad, 1021, 0, 3, 4, 1024, 768));
}
