#pragma once
// The rules of a timer capture, for the dialog and the command line alike: what
// the user asked for (TimerCaptureSettings) is checked once at the start and
// becomes a TimerPlan; a TimerSchedule then says when each shot is due, from a
// clock the caller reads and passes in, so tests drive it without waiting.
//
// Refused at the start, before any shot: an interval below 1 second or above a
// day, a width or height below 1, a region wholly off the screen. A region
// that lies partly off the screen is kept as typed; each shot keeps the part
// on the screen (as every area grab does), so no shot is made of invented pixels.
//
// Plain data; any thread, one thread at a time per object.

#include "capture/core/capture_geometry.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vistrel {

inline constexpr int kMinTimerIntervalSeconds = 1;
inline constexpr int kMaxTimerIntervalSeconds = 24 * 60 * 60;

struct TimerCaptureSettings {
    int intervalSeconds = 5;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool fullScreen = true; // the whole screen, whatever x, y, width and height say
    bool showMouse = false;
    bool hideProgram = true;
};

struct TimerPlan {
    std::chrono::milliseconds interval{0};
    // The region as typed (the whole screen for a full-screen capture).
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool showMouse = false;
    bool hideProgram = true;
};

// A region chosen on the screen, by its inclusive corners (left, top) and
// (right, bottom): x, y, width and height of the settings. A size beyond int
// is kept at the largest int (the screen keeps only its part anyway).
void SetRegionFromCorners(TimerCaptureSettings& settings, int left, int top, int right, int bottom);

enum class TimerSettingsError {
    IntervalTooShort,
    IntervalTooLong,
    EmptyRegion,    // width or height below 1
    OffScreen,      // no pixel of the region is on the screen
    ScreenTooLarge, // the screen itself is beyond the capture limits
};

std::string DescribeTimerError(TimerSettingsError error);

using TimerPlanResult = std::variant<TimerPlan, TimerSettingsError>;

// What can be refused without looking at the screen: the interval, and the
// size of a region.
std::optional<TimerSettingsError> CheckTimerSettings(const TimerCaptureSettings& settings);

// A whole decimal number that fits an int, nothing before or after it.
std::optional<int> ParseWholeNumber(std::string_view word);

// The screen's size as it is at the start.
TimerPlanResult PlanTimerCapture(const TimerCaptureSettings& settings, int screenWidth, int screenHeight);

// A timer capture asked for by words (the command line, or a script through the
// running copy): --timer X Y W H --interval S [--count N] [--no-cursor].
struct TimerWords {
    std::vector<std::string> area; // X Y W H
    std::optional<std::string> interval;
    std::optional<std::string> count;
    bool noCursor = false;
};

struct TimerRequest {
    TimerCaptureSettings settings; // a region, never hiding anything
    std::optional<int> count;      // none: until stopped
};

// Whole decimal numbers only; the interval and the size checked as
// CheckTimerSettings does, the count at least 1. nullopt with the reason in error.
std::optional<TimerRequest> ParseTimerRequest(const TimerWords& words, std::string& error);

// When the shots of a running timer capture are due: the first one interval
// after the start, then one every interval. A shot taken late (the program was
// held up, the machine slept) does not bring a burst of the missed ones: one
// shot is taken, and the next is due at the next whole interval after it, so
// the shots keep their rhythm. A limit on the number of shots, when given, ends
// the schedule after the last one.
class TimerSchedule {
public:
    using Clock = std::chrono::steady_clock;

    // shotLimit: none for no limit; at least 1 otherwise.
    TimerSchedule(std::chrono::milliseconds interval, Clock::time_point start,
                  std::optional<int> shotLimit = std::nullopt);

    // When the next shot is due; meaningless once finished().
    Clock::time_point nextDue() const { return m_nextDue; }
    // How long from now until the next shot is due; zero when it is due already.
    std::chrono::milliseconds WaitFrom(Clock::time_point now) const;
    // Whether a shot is due at now; if so it counts as taken and the next one is
    // scheduled. False once finished.
    bool TakeShot(Clock::time_point now);
    void Stop() { m_stopped = true; }
    bool finished() const;
    int shotsTaken() const { return m_shots; }

private:
    std::chrono::milliseconds m_interval;
    Clock::time_point m_nextDue;
    std::optional<int> m_shotLimit;
    int m_shots = 0;
    bool m_stopped = false;
};

} // namespace vistrel
