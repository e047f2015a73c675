#include "capture/core/timer_capture.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

namespace vistrel {

std::optional<int> ParseWholeNumber(std::string_view word)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || ec != std::errc() || end != word.data() + word.size())
        return std::nullopt;
    return value;
}

void SetRegionFromCorners(TimerCaptureSettings& settings, int left, int top, int right, int bottom)
{
    auto extent = [](int from, int to) {
        const int64_t n = int64_t(to) - from + 1;
        return int(std::clamp<int64_t>(n, 0, std::numeric_limits<int>::max()));
    };
    settings.x = std::min(left, right);
    settings.y = std::min(top, bottom);
    settings.width = extent(settings.x, std::max(left, right));
    settings.height = extent(settings.y, std::max(top, bottom));
}

std::string DescribeTimerError(TimerSettingsError error)
{
    switch (error) {
    case TimerSettingsError::IntervalTooShort:
        return "the interval must be at least " + std::to_string(kMinTimerIntervalSeconds) + " second";
    case TimerSettingsError::IntervalTooLong:
        return "the interval must be at most " + std::to_string(kMaxTimerIntervalSeconds) + " seconds (a day)";
    case TimerSettingsError::EmptyRegion: return "the width and the height must be at least 1";
    case TimerSettingsError::OffScreen: return DescribeAreaError(CaptureAreaError::OffScreen);
    case TimerSettingsError::ScreenTooLarge: return DescribeAreaError(CaptureAreaError::TooLarge);
    }
    return "the timer capture cannot start";
}

std::optional<TimerSettingsError> CheckTimerSettings(const TimerCaptureSettings& settings)
{
    if (settings.intervalSeconds < kMinTimerIntervalSeconds)
        return TimerSettingsError::IntervalTooShort;
    if (settings.intervalSeconds > kMaxTimerIntervalSeconds)
        return TimerSettingsError::IntervalTooLong;
    if (!settings.fullScreen && (settings.width < 1 || settings.height < 1))
        return TimerSettingsError::EmptyRegion;
    return std::nullopt;
}

TimerPlanResult PlanTimerCapture(const TimerCaptureSettings& settings, int screenWidth, int screenHeight)
{
    if (const auto problem = CheckTimerSettings(settings))
        return *problem;
    TimerPlan plan;
    plan.interval = std::chrono::seconds(settings.intervalSeconds);
    plan.showMouse = settings.showMouse;
    plan.hideProgram = settings.hideProgram;
    if (settings.fullScreen) {
        plan.width = screenWidth;
        plan.height = screenHeight;
    } else {
        plan.x = settings.x;
        plan.y = settings.y;
        plan.width = settings.width;
        plan.height = settings.height;
    }
    const auto part = VisiblePart(plan.x, plan.y, plan.width, plan.height, Rect{0, 0, screenWidth, screenHeight});
    if (const auto* problem = std::get_if<CaptureAreaError>(&part)) {
        switch (*problem) {
        case CaptureAreaError::OffScreen: return TimerSettingsError::OffScreen;
        case CaptureAreaError::TooLarge: return TimerSettingsError::ScreenTooLarge;
        default: return TimerSettingsError::EmptyRegion;
        }
    }
    return plan;
}

std::optional<TimerRequest> ParseTimerRequest(const TimerWords& words, std::string& error)
{
    if (words.area.size() != 4) {
        error = "--timer takes four numbers, X Y W H, not " + std::to_string(words.area.size());
        return std::nullopt;
    }
    if (!words.interval) {
        error = "--timer needs --interval S (whole seconds)";
        return std::nullopt;
    }
    int numbers[4] = {};
    for (size_t i = 0; i < 4; ++i) {
        const auto n = ParseWholeNumber(words.area[i]);
        if (!n) {
            error = "not a whole number: \"" + words.area[i] + "\"";
            return std::nullopt;
        }
        numbers[i] = *n;
    }
    const auto interval = ParseWholeNumber(*words.interval);
    if (!interval) {
        error = "--interval takes whole seconds, not \"" + *words.interval + "\"";
        return std::nullopt;
    }
    TimerRequest request;
    request.settings = {*interval, numbers[0], numbers[1], numbers[2], numbers[3], false, !words.noCursor, false};
    if (const auto problem = CheckTimerSettings(request.settings)) {
        error = DescribeTimerError(*problem);
        return std::nullopt;
    }
    if (words.count) {
        const auto count = ParseWholeNumber(*words.count);
        if (!count || *count < 1) {
            error = "--count takes a whole number of shots above 0, not \"" + *words.count + "\"";
            return std::nullopt;
        }
        request.count = *count;
    }
    return request;
}

TimerSchedule::TimerSchedule(std::chrono::milliseconds interval, Clock::time_point start,
                             std::optional<int> shotLimit)
    : m_interval(std::max(interval, std::chrono::milliseconds(1))), m_nextDue(start + m_interval),
      m_shotLimit(shotLimit)
{
}

bool TimerSchedule::finished() const { return m_stopped || (m_shotLimit && m_shots >= *m_shotLimit); }

std::chrono::milliseconds TimerSchedule::WaitFrom(Clock::time_point now) const
{
    if (now >= m_nextDue)
        return std::chrono::milliseconds(0);
    // Rounded up: woken on the millisecond before, the shot would not be due yet.
    return std::chrono::ceil<std::chrono::milliseconds>(m_nextDue - now);
}

bool TimerSchedule::TakeShot(Clock::time_point now)
{
    if (finished() || now < m_nextDue)
        return false;
    ++m_shots;
    // The missed shots are skipped: the next is due at the first whole interval
    // (counted from the start) after now.
    const auto late = now - m_nextDue;
    const auto skipped = late / m_interval;
    m_nextDue += m_interval * (skipped + 1);
    return true;
}

} // namespace vistrel
