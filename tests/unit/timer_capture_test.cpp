#include "capture/core/timer_capture.h"

#include <gtest/gtest.h>

using namespace vistrel;
using namespace std::chrono_literals;
using Clock = TimerSchedule::Clock;

namespace {

TimerCaptureSettings Region(int interval, int x, int y, int width, int height)
{
    TimerCaptureSettings s;
    s.intervalSeconds = interval;
    s.fullScreen = false;
    s.x = x;
    s.y = y;
    s.width = width;
    s.height = height;
    return s;
}

TimerSettingsError Refusal(const TimerPlanResult& result)
{
    EXPECT_TRUE(std::holds_alternative<TimerSettingsError>(result));
    return std::holds_alternative<TimerSettingsError>(result) ? std::get<TimerSettingsError>(result)
                                                              : TimerSettingsError::EmptyRegion;
}

std::optional<TimerRequest> Parse(std::vector<std::string> area, std::optional<std::string> interval,
                                  std::optional<std::string> count = std::nullopt, std::string* error = nullptr)
{
    std::string e;
    auto r = ParseTimerRequest({std::move(area), std::move(interval), std::move(count), false}, e);
    if (error)
        *error = e;
    return r;
}

} // namespace

TEST(TimerSchedule, FirstShotOneIntervalAfterTheStartThenOnePerInterval)
{
    const Clock::time_point start{};
    TimerSchedule schedule(1000ms, start);
    EXPECT_FALSE(schedule.TakeShot(start));
    EXPECT_FALSE(schedule.TakeShot(start + 999ms));
    EXPECT_EQ(schedule.WaitFrom(start + 999ms), 1ms);
    EXPECT_TRUE(schedule.TakeShot(start + 1000ms));
    EXPECT_FALSE(schedule.TakeShot(start + 1000ms)); // one shot per interval, not two
    EXPECT_EQ(schedule.nextDue(), start + 2000ms);
    EXPECT_TRUE(schedule.TakeShot(start + 2003ms));
    // Woken a little late, the next shot still comes on the whole interval.
    EXPECT_EQ(schedule.nextDue(), start + 3000ms);
    EXPECT_EQ(schedule.shotsTaken(), 2);
}

TEST(TimerSchedule, LateShotIsOneShotAndKeepsTheRhythm)
{
    const Clock::time_point start{};
    TimerSchedule schedule(1000ms, start);
    // Held up for three and a half intervals: one shot, no burst of the missed ones.
    EXPECT_TRUE(schedule.TakeShot(start + 3500ms));
    EXPECT_FALSE(schedule.TakeShot(start + 3600ms));
    EXPECT_EQ(schedule.nextDue(), start + 4000ms);
    EXPECT_EQ(schedule.WaitFrom(start + 3600ms), 400ms);
    EXPECT_EQ(schedule.WaitFrom(start + 4100ms), 0ms);
    EXPECT_EQ(schedule.shotsTaken(), 1);
}

TEST(TimerSchedule, WaitIsRoundedUpSoTheWakeUpFindsTheShotDue)
{
    const Clock::time_point start{};
    TimerSchedule schedule(1000ms, start);
    const auto now = start + 999ms + 500us;
    const auto wait = schedule.WaitFrom(now);
    EXPECT_EQ(wait, 1ms);
    EXPECT_TRUE(schedule.TakeShot(now + wait));
}

TEST(TimerSchedule, EndsAfterTheShotLimitOrWhenStopped)
{
    const Clock::time_point start{};
    TimerSchedule limited(500ms, start, 3);
    int shots = 0;
    for (auto t = start; t <= start + 5s; t += 100ms)
        shots += limited.TakeShot(t) ? 1 : 0;
    EXPECT_EQ(shots, 3);
    EXPECT_TRUE(limited.finished());

    TimerSchedule stopped(500ms, start);
    EXPECT_TRUE(stopped.TakeShot(start + 500ms));
    stopped.Stop();
    EXPECT_TRUE(stopped.finished());
    EXPECT_FALSE(stopped.TakeShot(start + 1000ms));
    EXPECT_EQ(stopped.shotsTaken(), 1);
}

TEST(TimerPlan, FullScreenTakesTheScreenWhateverTheFieldsSay)
{
    TimerCaptureSettings s = Region(5, 100, 50, -3, 0);
    s.fullScreen = true;
    const auto result = PlanTimerCapture(s, 1024, 768);
    ASSERT_TRUE(std::holds_alternative<TimerPlan>(result));
    const TimerPlan& plan = std::get<TimerPlan>(result);
    EXPECT_EQ(plan.x, 0);
    EXPECT_EQ(plan.y, 0);
    EXPECT_EQ(plan.width, 1024);
    EXPECT_EQ(plan.height, 768);
    EXPECT_EQ(plan.interval, 5000ms);
}

TEST(TimerPlan, RegionIsKeptAsTyped)
{
    TimerCaptureSettings s = Region(1, 100, 50, 200, 150);
    s.showMouse = true;
    s.hideProgram = false;
    const auto result = PlanTimerCapture(s, 1024, 768);
    ASSERT_TRUE(std::holds_alternative<TimerPlan>(result));
    const TimerPlan& plan = std::get<TimerPlan>(result);
    EXPECT_EQ(plan.x, 100);
    EXPECT_EQ(plan.y, 50);
    EXPECT_EQ(plan.width, 200);
    EXPECT_EQ(plan.height, 150);
    EXPECT_TRUE(plan.showMouse);
    EXPECT_FALSE(plan.hideProgram);
    EXPECT_EQ(plan.interval, 1000ms);
}

TEST(TimerPlan, IntervalOfZeroOrLessOrAboveADayIsRefused)
{
    EXPECT_EQ(Refusal(PlanTimerCapture(Region(0, 0, 0, 10, 10), 100, 100)), TimerSettingsError::IntervalTooShort);
    EXPECT_EQ(Refusal(PlanTimerCapture(Region(-5, 0, 0, 10, 10), 100, 100)), TimerSettingsError::IntervalTooShort);
    EXPECT_EQ(Refusal(PlanTimerCapture(Region(86401, 0, 0, 10, 10), 100, 100)),
              TimerSettingsError::IntervalTooLong);
    // The largest interval still fits the timers' milliseconds.
    EXPECT_TRUE(std::holds_alternative<TimerPlan>(PlanTimerCapture(Region(86400, 0, 0, 10, 10), 100, 100)));
    EXPECT_EQ(Refusal(PlanTimerCapture(Region(2147483647, 0, 0, 10, 10), 100, 100)),
              TimerSettingsError::IntervalTooLong);
}

TEST(TimerPlan, SizeOfZeroOrLessIsRefused)
{
    EXPECT_EQ(Refusal(PlanTimerCapture(Region(1, 0, 0, 0, 10), 100, 100)), TimerSettingsError::EmptyRegion);
    EXPECT_EQ(Refusal(PlanTimerCapture(Region(1, 0, 0, 10, -1), 100, 100)), TimerSettingsError::EmptyRegion);
    EXPECT_FALSE(DescribeTimerError(TimerSettingsError::EmptyRegion).empty());
}

TEST(TimerPlan, RegionPartlyOffTheScreenIsKeptWhollyOffIsRefused)
{
    const auto partly = PlanTimerCapture(Region(1, 90, -5, 50, 50), 100, 100);
    ASSERT_TRUE(std::holds_alternative<TimerPlan>(partly));
    EXPECT_EQ(std::get<TimerPlan>(partly).width, 50); // as typed; each shot keeps what is on the screen
    EXPECT_EQ(Refusal(PlanTimerCapture(Region(1, 100, 0, 50, 50), 100, 100)), TimerSettingsError::OffScreen);
    EXPECT_EQ(Refusal(PlanTimerCapture(Region(1, -50, 0, 50, 50), 100, 100)), TimerSettingsError::OffScreen);
    // Corners far beyond int do not wrap round onto the screen.
    EXPECT_EQ(Refusal(PlanTimerCapture(Region(1, 2147483600, 0, 2147483647, 50), 100, 100)),
              TimerSettingsError::OffScreen);
}

TEST(TimerRequest, ParsesTheCommandLineWords)
{
    const auto r = Parse({"100", "50", "200", "150"}, "2", "3");
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->settings.fullScreen);
    EXPECT_FALSE(r->settings.hideProgram);
    EXPECT_TRUE(r->settings.showMouse);
    EXPECT_EQ(r->settings.x, 100);
    EXPECT_EQ(r->settings.height, 150);
    EXPECT_EQ(r->settings.intervalSeconds, 2);
    EXPECT_EQ(r->count, 3);
    const auto unlimited = Parse({"-10", "0", "1", "1"}, "1");
    ASSERT_TRUE(unlimited);
    EXPECT_EQ(unlimited->settings.x, -10);
    EXPECT_FALSE(unlimited->count);

    std::string error;
    const auto noCursor = ParseTimerRequest({{"0", "0", "1", "1"}, "1", std::nullopt, true}, error);
    ASSERT_TRUE(noCursor);
    EXPECT_FALSE(noCursor->settings.showMouse);
}

TEST(TimerRequest, RefusesBadWordsBeforeAnyShot)
{
    std::string error;
    EXPECT_FALSE(Parse({"0", "0", "10"}, "1", std::nullopt, &error));
    EXPECT_NE(error.find("four numbers"), std::string::npos);
    EXPECT_FALSE(Parse({"0", "0", "10", "10"}, std::nullopt, std::nullopt, &error));
    EXPECT_NE(error.find("--interval"), std::string::npos);
    EXPECT_FALSE(Parse({"0", "0", "10", "x"}, "1", std::nullopt, &error));
    EXPECT_NE(error.find("\"x\""), std::string::npos);
    EXPECT_FALSE(Parse({"0", "0", "10", "10"}, "1.5"));
    EXPECT_FALSE(Parse({"0", "0", "10", "10"}, ""));
    EXPECT_FALSE(Parse({"0", "0", "10", "99999999999"}, "1"));
    EXPECT_FALSE(Parse({"0", "0", "10", "10"}, "0", std::nullopt, &error));
    EXPECT_EQ(error, DescribeTimerError(TimerSettingsError::IntervalTooShort));
    EXPECT_FALSE(Parse({"0", "0", "0", "10"}, "1", std::nullopt, &error));
    EXPECT_EQ(error, DescribeTimerError(TimerSettingsError::EmptyRegion));
    EXPECT_FALSE(Parse({"0", "0", "10", "-10"}, "1"));
    EXPECT_FALSE(Parse({"0", "0", "10", "10"}, "1", "0", &error));
    EXPECT_NE(error.find("--count"), std::string::npos);
    EXPECT_FALSE(Parse({"0", "0", "10", "10"}, "1", "-2"));
    EXPECT_FALSE(Parse({"0", "0", "10", "10"}, "1", "2x"));
}

TEST(TimerPlan, RegionFromInclusiveCorners)
{
    TimerCaptureSettings s;
    SetRegionFromCorners(s, 10, 20, 109, 69);
    EXPECT_EQ(s.x, 10);
    EXPECT_EQ(s.y, 20);
    EXPECT_EQ(s.width, 100);
    EXPECT_EQ(s.height, 50);
    SetRegionFromCorners(s, 109, 69, 10, 20); // dragged the other way
    EXPECT_EQ(s.x, 10);
    EXPECT_EQ(s.width, 100);
    EXPECT_EQ(s.height, 50);
    SetRegionFromCorners(s, -2147483647 - 1, 0, 2147483647, 0);
    EXPECT_EQ(s.width, 2147483647);
    EXPECT_EQ(s.height, 1);
}
