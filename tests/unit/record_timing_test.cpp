// The recorder's clock: which position each grab gets, how long it sleeps, and
// what it does with a still screen, a slow compressor and stalls.

#include "record/core/frame_clock.h"
#include "record/core/record_loop.h"
#include "record_loop_helpers.h"

#include <gtest/gtest.h>

#include <thread>

using namespace vistrel;
using vistrel::test::FakeClock;
using vistrel::test::FakeSink;
using vistrel::test::FakeSource;

namespace {

GrabSettings Settings(int intervalMs, int fps = 20)
{
    GrabSettings s;
    s.intervalMs = intervalMs;
    s.playbackFps = fps;
    s.area = {0, 0, 3, 2};
    s.screenWidth = 1000;
    s.screenHeight = 800;
    return s;
}

struct GrabRun {
    std::vector<int64_t> positions; // of the frames queued, in order
    std::vector<int64_t> grabbedAt; // elapsed ms of each grab
    std::string error;
    int64_t stoppedAt = 0; // elapsed ms when the loop returned
};

// Runs the grab loop on the fake clock until elapsed time reaches stopAtMs.
GrabRun RunUntil(FakeClock& clock, FakeSource& source, const GrabSettings& settings, int64_t stopAtMs,
                 RecordStats& stats, size_t buffers = 100000)
{
    const int64_t start = clock.now;
    std::stop_source stop;
    clock.afterSleep = [&] {
        if (clock.now - start >= stopAtMs)
            stop.request_stop();
    };
    FrameExchange exchange(int(settings.area.width()), int(settings.area.height()), buffers);
    GrabRun run;
    run.error = RunGrabLoop(source, clock, exchange, settings, stop.get_token(), stats);
    run.stoppedAt = clock.now - start;
    while (auto frame = exchange.Pop())
        run.positions.push_back(frame->position);
    for (int64_t t : source.grabbedAt)
        run.grabbedAt.push_back(t - start);
    return run;
}

std::vector<int64_t> Range(int64_t from, int64_t to)
{
    std::vector<int64_t> v;
    for (int64_t i = from; i <= to; ++i)
        v.push_back(i);
    return v;
}

} // namespace

TEST(FrameClock, PositionsFollowTheClockAndEqualSlotsAreLeftOut)
{
    FrameClock clock(50, 20);
    EXPECT_EQ(clock.Take(0), 0);
    EXPECT_EQ(clock.NextDueMs(), 50);
    EXPECT_EQ(clock.Take(49), std::nullopt); // same slot as the frame before: not grabbed again
    EXPECT_EQ(clock.Take(50), 1);
    EXPECT_EQ(clock.Take(99), std::nullopt);
    EXPECT_EQ(clock.Take(260), 5); // late: positions 2 to 4 stay empty
    EXPECT_EQ(clock.NextDueMs(), 300);
    EXPECT_EQ(clock.Take(200), std::nullopt); // a clock going back counts as the latest seen
    EXPECT_EQ(clock.Take(300), 6);

    FrameClock second(1000, 20); // one frame a second, played 20 times faster
    EXPECT_EQ(second.Take(0), 0);
    EXPECT_EQ(second.Take(999), std::nullopt);
    EXPECT_EQ(second.Take(1000), 1);
    EXPECT_EQ(second.Take(3500), 3);

    FrameClock lapse(2000, 20); // time-lapse: the next position, whatever the time
    EXPECT_TRUE(lapse.timeLapse());
    EXPECT_EQ(lapse.Take(0), 0);
    EXPECT_EQ(lapse.Take(2000), 1);
    EXPECT_EQ(lapse.Take(9000), 2);
    EXPECT_EQ(lapse.Take(9500), std::nullopt); // still the slot of 8000..9999
    EXPECT_EQ(lapse.NextDueMs(), 10000);
}

TEST(FrameClock, IntervalZeroGrabsAtThePlaybackRate)
{
    // 1000 / 0 has no meaning; 0 means as often as playback needs: one slot per
    // frame of playback, so the file still keeps real time.
    FrameClock clock(0, 30);
    std::vector<int64_t> dues;
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(clock.Take(i == 0 ? 0 : dues.back()), i);
        dues.push_back(clock.NextDueMs());
    }
    EXPECT_EQ(dues, (std::vector<int64_t>{34, 67, 100, 134}));
    EXPECT_EQ(FrameClock(0, 1).Take(999), 0);
    FrameClock fast(0, 200);
    fast.Take(0);
    EXPECT_EQ(fast.NextDueMs(), 5);
}

TEST(FrameClock, SleepSlicesAreAtMostFiftyMilliseconds)
{
    EXPECT_EQ(SleepSliceMs(0, 7200000), 50);
    EXPECT_EQ(SleepSliceMs(100, 130), 30);
    EXPECT_EQ(SleepSliceMs(130, 130), 0);
    EXPECT_EQ(SleepSliceMs(500, 130), 0);
}

TEST(FrameClock, NoJumpBetweenWrittenPositionsExceedsTheMuxerLimit)
{
    EXPECT_EQ(PositionsToWrite(std::nullopt, 0), (std::vector<int64_t>{0}));
    EXPECT_EQ(PositionsToWrite(10, 60010), (std::vector<int64_t>{60010}));
    EXPECT_EQ(PositionsToWrite(10, 60011), (std::vector<int64_t>{60010, 60011}));
    EXPECT_EQ(PositionsToWrite(0, 150000), (std::vector<int64_t>{60000, 120000, 150000}));
    EXPECT_EQ(PositionsToWrite(0, 7, 3), (std::vector<int64_t>{3, 6, 7}));
}

TEST(GrabLoop, PositionsForIntervalsOf50And1000And2000Ms)
{
    {
        FakeClock clock;
        FakeSource source(clock);
        RecordStats stats;
        const GrabRun run = RunUntil(clock, source, Settings(50), 1000, stats);
        EXPECT_EQ(run.positions, Range(0, 19)); // one second at 20 frames a second
        EXPECT_EQ(run.grabbedAt.back(), 950);
        for (int64_t s : clock.sleeps)
            EXPECT_LE(s, kSleepSliceMs);
    }
    {
        FakeClock clock;
        FakeSource source(clock);
        RecordStats stats;
        const GrabRun run = RunUntil(clock, source, Settings(1000), 5000, stats);
        EXPECT_EQ(run.positions, Range(0, 4));
        EXPECT_EQ(run.grabbedAt, (std::vector<int64_t>{0, 1000, 2000, 3000, 4000}));
    }
    {
        FakeClock clock;
        FakeSource source(clock);
        source.grabCostMs[1] = 5000; // a grab that takes far longer than the interval
        RecordStats stats;
        const GrabRun run = RunUntil(clock, source, Settings(2000), 12000, stats);
        EXPECT_EQ(run.positions, Range(0, 4)); // time-lapse: 0, 1, 2, ... whatever the time
        // The late grab takes the slot it ends in; the next one is at the next slot.
        EXPECT_EQ(run.grabbedAt, (std::vector<int64_t>{0, 2000, 7000, 8000, 10000}));
    }
}

TEST(GrabLoop, ALateFrameLandsLaterAndTheGrabsKeepTheirSchedule)
{
    FakeClock clock;
    FakeSource source(clock);
    source.grabCostMs[3] = 120; // grab 3 starts at 150 and ends at 270
    RecordStats stats;
    const GrabRun run = RunUntil(clock, source, Settings(50), 500, stats);
    EXPECT_EQ(run.positions, (std::vector<int64_t>{0, 1, 2, 3, 5, 6, 7, 8, 9}));
    // The next grab is at the start of the next slot, not one interval after
    // the late one ended: no drift.
    EXPECT_EQ(run.grabbedAt, (std::vector<int64_t>{0, 50, 100, 150, 270, 300, 350, 400, 450}));
}

TEST(GrabLoop, StopEndsALongIntervalWithinOneSleepSlice)
{
    FakeClock clock;
    FakeSource source(clock);
    RecordStats stats;
    const GrabRun run = RunUntil(clock, source, Settings(kMaxCaptureIntervalMs), 1234, stats);
    EXPECT_EQ(run.positions, Range(0, 0));
    EXPECT_GE(run.stoppedAt, 1234);
    EXPECT_LT(run.stoppedAt, 1234 + kSleepSliceMs);

    // The real clock wakes at once when the stop comes.
    SteadyRecordClock steady;
    std::stop_source stop;
    const int64_t before = steady.NowMs();
    std::jthread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        stop.request_stop();
    });
    steady.Sleep(10000, stop.get_token());
    EXPECT_LT(steady.NowMs() - before, 2000);
}

TEST(GrabLoop, AStillScreenGetsARealFrameEveryKeyFrameDistanceAndAtTheEnd)
{
    FakeClock clock;
    FakeSource source(clock);
    source.changed = false;
    RecordStats stats;
    GrabSettings settings = Settings(50);
    settings.keyFrameEvery = 5;
    const GrabRun run = RunUntil(clock, source, settings, 1000, stats);
    // 0, then every 5th position, and the last slot so the file runs to the end.
    EXPECT_EQ(run.positions, (std::vector<int64_t>{0, 5, 10, 15, 19}));
    EXPECT_EQ(stats.unchanged, 16); // 19 is left out first, then taken at the stop
    EXPECT_EQ(stats.grabs, 5);
}

TEST(GrabLoop, AFullBufferPoolDropsTheGrabButNotTheClock)
{
    FakeClock clock;
    FakeSource source(clock);
    RecordStats stats;
    // Two buffers and nobody taking frames: a compressor that never keeps up.
    const GrabRun run = RunUntil(clock, source, Settings(50), 500, stats, 2);
    EXPECT_EQ(run.positions, (std::vector<int64_t>{0, 1}));
    EXPECT_EQ(stats.dropped, 8);
    EXPECT_EQ(clock.sleeps.size(), 10u); // every slot still waited for on time
}

TEST(GrabLoop, AutoPanMovesTheGrabbedAreaTowardTheCursor)
{
    FakeClock clock;
    FakeSource source(clock);
    source.cursor = RecordPoint{500, 2};
    RecordStats stats;
    GrabSettings settings = Settings(50);
    settings.area = {0, 0, 99, 99};
    settings.autoPan = true;
    settings.autoPanSpeed = 20;
    RunUntil(clock, source, settings, 150, stats);
    ASSERT_EQ(source.areas.size(), 3u);
    EXPECT_EQ(source.areas[0], (RecordRegion{20, 0, 119, 99}));
    EXPECT_EQ(source.areas[2], (RecordRegion{60, 0, 159, 99}));

    FakeSource still(clock);
    still.cursor = RecordPoint{500, 2};
    settings.area = {0, 0, 999, 99}; // as wide as the screen: no panning
    RunUntil(clock, still, settings, 100, stats);
    EXPECT_EQ(still.areas.back(), settings.area);
}

TEST(Recording, FramesReachTheSinkInOrderWithoutGapsBeyondTheLimit)
{
    FakeClock clock;
    FakeSource source(clock);
    source.grabCostMs[1] = 4000000; // the machine stalls for over an hour
    FakeSink sink;
    RecordStats stats;
    std::stop_source stop;
    const int64_t start = clock.now;
    clock.afterSleep = [&] {
        // Real time for the encode thread to keep up, so no frame is dropped.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (clock.now - start >= 4000200)
            stop.request_stop();
    };
    GrabSettings settings = Settings(50);
    const RecordOutcome outcome = RunRecording(source, sink, clock, settings, stop.get_token(), stats);
    EXPECT_EQ(outcome.error, "");
    ASSERT_GE(sink.positions.size(), 4u);
    EXPECT_EQ(sink.positions[0], 0);
    for (size_t i = 1; i < sink.positions.size(); ++i) {
        EXPECT_GT(sink.positions[i], sink.positions[i - 1]);
        EXPECT_LE(sink.positions[i] - sink.positions[i - 1], kMaxPositionGap);
    }
    EXPECT_EQ(sink.positions.back(), stats.positions - 1);
    EXPECT_EQ(stats.positions, 4000200 / 50);
}

TEST(Recording, FailuresEndTheRecordingAndKeepWhatWasWritten)
{
    { // no memory for a frame: an error, not the end of the program
        FakeClock clock;
        FakeSource source(clock);
        RecordStats stats;
        int allocations = 0;
        auto allocate = [&](int w, int h) {
            if (++allocations > 2)
                throw std::bad_alloc();
            return Bitmap(w, h);
        };
        // A compressor slow enough that a third buffer is needed.
        struct Slow : FrameSink {
            int frames = 0;
            bool Write(const Bitmap&, int64_t, std::string&) override
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                ++frames;
                return true;
            }
        } slow;
        std::stop_source never;
        const RecordOutcome outcome =
            RunRecording(source, slow, clock, Settings(50), never.get_token(), stats, {}, 3, allocate);
        EXPECT_NE(outcome.error.find("not enough memory"), std::string::npos) << outcome.error;
        EXPECT_GT(stats.written.load(), 0);
        EXPECT_EQ(slow.frames, 2); // both grabbed frames still reach the file
    }
    { // the screen cannot be grabbed any more
        FakeClock clock;
        FakeSource source(clock);
        source.failAtGrab = 3;
        FakeSink sink;
        RecordStats stats;
        std::stop_source never;
        const RecordOutcome outcome = RunRecording(source, sink, clock, Settings(50), never.get_token(), stats);
        EXPECT_EQ(outcome.error, "grab failed");
        EXPECT_EQ(sink.positions, Range(0, 2));
    }
    { // the file cannot be written: the grabs stop too
        FakeClock clock;
        FakeSource source(clock);
        FakeSink sink;
        sink.failAtWrite = 2;
        RecordStats stats;
        std::stop_source never;
        const RecordOutcome outcome = RunRecording(source, sink, clock, Settings(50), never.get_token(), stats);
        EXPECT_EQ(outcome.error, "disk full");
        EXPECT_EQ(sink.positions, Range(0, 1));
    }
}
