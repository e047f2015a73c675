// The time and size of the line that tells how a recording is going.

#include "record/core/recording_status.h"

#include <gtest/gtest.h>

using namespace vistrel;

TEST(RecordingStatus, TheElapsedTimeCountsWholeSeconds)
{
    EXPECT_EQ(ElapsedText(0), "0:00");
    EXPECT_EQ(ElapsedText(-500), "0:00");
    EXPECT_EQ(ElapsedText(7999), "0:07");
    EXPECT_EQ(ElapsedText(60'000), "1:00");
    EXPECT_EQ(ElapsedText(59 * 60'000 + 59'999), "59:59");
    EXPECT_EQ(ElapsedText(3'600'000), "1:00:00");
    EXPECT_EQ(ElapsedText(int64_t(100) * 3'600'000 + 61'000), "100:01:01");
    EXPECT_FALSE(ElapsedText(INT64_MAX).empty());
}

TEST(RecordingStatus, TheSizeNeverShowsMoreThanThereIs)
{
    EXPECT_EQ(RecordedSizeText(0), "0 KB");
    EXPECT_EQ(RecordedSizeText(1023), "0 KB");
    EXPECT_EQ(RecordedSizeText(512 * 1024), "512 KB");
    EXPECT_EQ(RecordedSizeText(1024 * 1024 - 1), "1023 KB");
    EXPECT_EQ(RecordedSizeText(1024 * 1024), "1.0 MB");
    EXPECT_EQ(RecordedSizeText(3 * 1024 * 1024 + 300 * 1024), "3.2 MB"); // 3.29
    EXPECT_EQ(RecordedSizeText(uint64_t(1024) * 1024 * 1024 - 1), "1023.9 MB");
    EXPECT_EQ(RecordedSizeText(uint64_t(3) * 1024 * 1024 * 1024 / 2), "1.5 GB");
    EXPECT_EQ(RecordedSizeText(UINT64_MAX), "17179869183.9 GB");
}
