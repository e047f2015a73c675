#include "record/core/video_options_fields.h"

#include <gtest/gtest.h>

using namespace vistrel;

namespace {

std::string Apply(const char* interval, const char* keys, const char* rate, int quality, AviRecordOptions& o)
{
    return ApplyVideoOptionFields({interval, keys, rate, quality}, o);
}

} // namespace

TEST(VideoOptionFields, BoundsAreAcceptedAndAllFourWritten)
{
    AviRecordOptions o;
    EXPECT_EQ(Apply("0", "1", "1", 1, o), "");
    EXPECT_EQ(o.captureIntervalMs, 0);
    EXPECT_EQ(o.keyFrameEvery, 1);
    EXPECT_EQ(o.playbackFps, 1);
    EXPECT_EQ(o.quality, 100);
    EXPECT_EQ(Apply(" 7200000 ", "+200", "200", 100, o), "");
    EXPECT_EQ(o.captureIntervalMs, 7200000);
    EXPECT_EQ(o.keyFrameEvery, 200);
    EXPECT_EQ(o.playbackFps, 200);
    EXPECT_EQ(o.quality, 10000);
    EXPECT_TRUE(CheckRecordOptions(o).empty());
}

TEST(VideoOptionFields, TheFirstFaultIsNamedAndNothingIsWritten)
{
    AviRecordOptions o;
    const AviRecordOptions before = o;
    const std::string less = "Timelapse for each frame cannot be less than 0 milliseconds.";
    const std::string more = "Timelapse for each frame cannot be more than 7200000 milliseconds (2 hours).";
    EXPECT_EQ(Apply("-1", "0", "0", 50, o), less);
    EXPECT_EQ(Apply("7200001", "0", "0", 50, o), more);
    EXPECT_EQ(Apply("99999999999999999999", "20", "20", 50, o), more); // too long for any number: too many
    EXPECT_EQ(Apply("12abc", "20", "20", 50, o), less);
    EXPECT_EQ(Apply("50", "0", "201", 50, o),
              "Key frames cannot be set for every 0 frames. Please enter a value in the range 1 to 200.");
    EXPECT_EQ(Apply("50", "x", "20", 50, o),
              "Key frames cannot be set for every x frames. Please enter a value in the range 1 to 200.");
    EXPECT_EQ(Apply("50", "20", "201", 50, o),
              "Playback Rate cannot be set to 201 frames per second. Please enter a value in the range 1 to 200.");
    EXPECT_EQ(Apply("50", "20", "", 50, o),
              "Playback Rate cannot be set to  frames per second. Please enter a value in the range 1 to 200.");
    EXPECT_EQ(Apply("50", "20", "4294967297", 50, o),
              "Playback Rate cannot be set to 4294967297 frames per second. Please enter a value in the range 1 "
              "to 200."); // not wrapped round to 1
    EXPECT_EQ(o.captureIntervalMs, before.captureIntervalMs);
    EXPECT_EQ(o.keyFrameEvery, before.keyFrameEvery);
    EXPECT_EQ(o.playbackFps, before.playbackFps);
    EXPECT_EQ(o.quality, before.quality);
}
