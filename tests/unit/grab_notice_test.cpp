// What the grab thread tells the frame around the area: one begin and one end
// per real grab, coalesced wake-ups for a slow user interface, and a panning
// area that never moves under a frame still on the screen.

#include "record/core/flashing_frame_link.h"
#include "record/core/record_loop.h"
#include "record_loop_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vistrel;
using vistrel::test::FakeClock;
using vistrel::test::FakeSource;

namespace {

struct LogWatch : GrabWatch {
    std::vector<std::string> log;
    RecordRegion PanTo(const RecordRegion&, const RecordRegion& wanted) override { return wanted; }
    void GrabBegins(const RecordRegion&) override { log.push_back("begin"); }
    void GrabEnded(const RecordRegion&) override { log.push_back("end"); }
};

GrabSettings Settings()
{
    GrabSettings s;
    s.intervalMs = 50;
    s.area = {0, 0, 99, 99};
    s.screenWidth = 1000;
    s.screenHeight = 800;
    return s;
}

// Runs the grab loop on the fake clock for ms; between slots, `between` runs
// (where a test plays the user interface).
void RunFor(FakeClock& clock, FakeSource& source, const GrabSettings& settings, int64_t ms, GrabWatch& watch,
            RecordStats& stats, size_t buffers = 1000, std::function<void()> between = {})
{
    const int64_t start = clock.now;
    std::stop_source stop;
    clock.afterSleep = [&] {
        if (between)
            between();
        if (clock.now - start >= ms)
            stop.request_stop();
    };
    FrameExchange exchange(int(settings.area.width()), int(settings.area.height()), buffers);
    RunGrabLoop(source, clock, exchange, settings, stop.get_token(), stats, {}, &watch);
}

bool Touches(const RecordRegion& a, const RecordRegion& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

} // namespace

TEST(GrabNotices, ComeInPairsForRealGrabsOnly)
{
    { // a still screen: most slots are left empty, then one at the end
        FakeClock clock;
        FakeSource source(clock);
        source.changed = false;
        GrabSettings settings = Settings();
        settings.keyFrameEvery = 5;
        LogWatch watch;
        RecordStats stats;
        RunFor(clock, source, settings, 1000, watch, stats);
        ASSERT_GT(stats.unchanged, 0);
        ASSERT_EQ(watch.log.size(), size_t(2 * stats.grabs));
        for (size_t i = 0; i < watch.log.size(); ++i)
            EXPECT_EQ(watch.log[i], i % 2 ? "end" : "begin") << i;
    }
    { // a compressor that never keeps up: dropped slots are not grabs
        FakeClock clock;
        FakeSource source(clock);
        LogWatch watch;
        RecordStats stats;
        RunFor(clock, source, Settings(), 500, watch, stats, 2);
        EXPECT_EQ(stats.dropped, 8);
        EXPECT_EQ(watch.log, (std::vector<std::string>{"begin", "end", "begin", "end"}));
    }
    { // a failed grab still ends its notice
        FakeClock clock;
        FakeSource source(clock);
        source.failAtGrab = 1;
        LogWatch watch;
        RecordStats stats;
        RunFor(clock, source, Settings(), 500, watch, stats);
        EXPECT_EQ(watch.log, (std::vector<std::string>{"begin", "end", "begin", "end"}));
    }
}

TEST(GrabNotices, ASlowUserInterfaceGetsOneWakeUpAndTheLatestState)
{
    int wakes = 0;
    FlashingFrameLink link([&] { ++wakes; });
    const RecordRegion area{10, 10, 109, 109};
    for (int i = 0; i < 50; ++i) {
        link.GrabBegins(area);
        link.GrabEnded(area);
    }
    EXPECT_EQ(wakes, 1); // nobody answered: no pile of calls
    FlashingFrameLink::View view = link.Take();
    EXPECT_TRUE(view.grabbedSince); // the grabs it missed still show
    EXPECT_FALSE(view.grabbing);
    EXPECT_EQ(view.area, area);
    link.GrabBegins(area);
    EXPECT_EQ(wakes, 2); // answered, so the next change wakes again
    view = link.Take();
    EXPECT_TRUE(view.grabbing);
    link.GrabEnded(area);
    view = link.Take();
    EXPECT_FALSE(view.grabbing);
    EXPECT_FALSE(view.grabbedSince);
}

TEST(GrabNotices, APanningAreaNeverMovesUnderTheShownFrameNorWaitsForIt)
{
    FakeClock clock;
    FakeSource source(clock);
    source.cursor = RecordPoint{900, 50};
    GrabSettings settings = Settings();
    settings.autoPan = true;
    settings.autoPanSpeed = 20;

    // The user interface, between slots: shows the frame around a resting
    // area, hides it (for sure) while the area wants to move.
    struct FrameOnScreen : FlashingFrameLink {
        using FlashingFrameLink::FlashingFrameLink;
        std::optional<RecordRegion> shownAround;
        int violations = 0;
        void GrabBegins(const RecordRegion& area) override
        {
            // The frame is a ring just outside shownAround.
            if (shownAround && !(area == *shownAround) && Touches(area, *shownAround))
                ++violations;
            FlashingFrameLink::GrabBegins(area);
        }
    } link(nullptr);
    bool uiAnswers = true;
    auto ui = [&] {
        if (!uiAnswers)
            return;
        const auto view = link.Take();
        if (view.moving) {
            link.shownAround.reset();
            link.Hidden();
        } else {
            link.shownAround = link.Reveal();
        }
    };
    RecordStats stats;
    RunFor(clock, source, settings, 400, link, stats, 1000, ui);
    ASSERT_EQ(source.areas.size(), 8u);
    EXPECT_EQ(source.areas[0].left, 20); // nothing shown yet: the first step is free
    EXPECT_EQ(link.violations, 0);
    EXPECT_GT(source.areas.back().left, 20 * 4); // it keeps gliding while the frame is hidden

    // The cursor rests inside the area: the frame comes back around it.
    source.cursor = RecordPoint{source.areas.back().left + 50, 50};
    settings.area = source.areas.back(); // each run of the loop starts from its settings
    RunFor(clock, source, settings, 100, link, stats, 1000, ui);
    ASSERT_TRUE(link.shownAround);
    EXPECT_EQ(*link.shownAround, source.areas.back());

    // The user interface stalls with the frame shown: the area waits, the
    // grabs do not.
    uiAnswers = false;
    source.cursor = RecordPoint{990, 50};
    const size_t before = source.areas.size();
    settings.area = source.areas.back();
    RunFor(clock, source, settings, 500, link, stats, 1000, ui);
    EXPECT_EQ(source.areas.size(), before + 10);
    EXPECT_EQ(source.areas.back(), *link.shownAround);

    // It answers again: the frame goes, and the area follows the cursor.
    uiAnswers = true;
    const int restedAt = source.areas.back().left;
    RunFor(clock, source, settings, 200, link, stats, 1000, ui);
    EXPECT_GT(source.areas.back().left, restedAt);
    EXPECT_EQ(link.violations, 0);
}
