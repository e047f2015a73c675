// What the grab thread tells the frame around the area: a begin and an end per
// real grab, one wake-up for a slow user interface, and a panning area that
// never moves under the frame while it is shown.

#include "record/core/flashing_frame_link.h"
#include "record_loop_helpers.h"

#include <gtest/gtest.h>

using namespace vistrel;
using namespace vistrel::test;

namespace {

struct LogWatch : GrabWatch {
    std::string log;
    RecordRegion PanTo(const RecordRegion&, const RecordRegion& wanted) override { return wanted; }
    void GrabBegins(const RecordRegion&) override { log += "("; }
    void GrabEnded(const RecordRegion&) override { log += ")"; }
};

// The grab loop on the fake clock for ms, `between` run after each slot.
void RunFor(FakeClock& clock, FakeSource& source, GrabSettings& settings, int64_t ms, GrabWatch& watch,
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
    if (!source.areas.empty())
        settings.area = source.areas.back(); // the next run goes on from there
}

GrabSettings Settings()
{
    GrabSettings s;
    s.area = {0, 0, 99, 99};
    s.keyFrameEvery = 5;
    s.screenWidth = 1000;
    s.screenHeight = 800;
    return s;
}

} // namespace

TEST(GrabNotices, ComeInPairsForRealGrabsOnly)
{
    FakeClock clock;
    FakeSource still(clock);
    still.changed = false; // most slots left empty, one at the end
    GrabSettings settings = Settings();
    LogWatch watch;
    RecordStats stats;
    RunFor(clock, still, settings, 1000, watch, stats);
    EXPECT_EQ(stats.grabs, 5);
    EXPECT_EQ(watch.log, "()()()()()");

    FakeSource source(clock); // a compressor that never keeps up: slots dropped
    LogWatch dropping;
    RecordStats dropStats;
    RunFor(clock, source, settings, 500, dropping, dropStats, 2);
    EXPECT_EQ(dropStats.dropped, 8);
    EXPECT_EQ(dropping.log, "()()");

    FakeSource failing(clock); // a failed grab ends its notice too
    failing.failAtGrab = 1;
    LogWatch failed;
    RunFor(clock, failing, settings, 500, failed, stats);
    EXPECT_EQ(failed.log, "()()");
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
    EXPECT_EQ(wakes, 1);
    auto view = link.Take();
    EXPECT_TRUE(view.grabbedSince && !view.grabbing && view.area == area);
    link.GrabBegins(area);
    EXPECT_EQ(wakes, 2); // answered, so the next change wakes again
    EXPECT_TRUE(link.Take().grabbing);
}

TEST(GrabNotices, APanningAreaNeverMovesUnderTheShownFrameNorWaitsForIt)
{
    // The user interface between slots: the frame around a resting area,
    // hidden (for sure) while the area wants to move.
    struct Screen : FlashingFrameLink {
        using FlashingFrameLink::FlashingFrameLink;
        std::optional<RecordRegion> frameAround;
        bool answers = true;
        int overlaps = 0;
        void GrabBegins(const RecordRegion& a) override
        {
            const RecordRegion* f = frameAround ? &*frameAround : nullptr;
            overlaps += f && !(a == *f) && a.left <= f->right + 4 && f->left - 4 <= a.right;
            FlashingFrameLink::GrabBegins(a);
        }
        void Answer()
        {
            if (!answers)
                return;
            if (Take().moving) {
                frameAround.reset();
                Hidden();
            } else {
                frameAround = Reveal();
            }
        }
    } screen(nullptr);
    FakeClock clock;
    FakeSource source(clock);
    source.cursor = RecordPoint{900, 50};
    GrabSettings settings = Settings();
    settings.autoPan = true;
    RecordStats stats;
    auto run = [&](int64_t ms) { RunFor(clock, source, settings, ms, screen, stats, 1000, [&] { screen.Answer(); }); };

    run(400);
    EXPECT_EQ(settings.area.left, 8 * 20); // glides at full speed with the frame hidden
    source.cursor = RecordPoint{settings.area.left + 50, 50};
    run(100);
    ASSERT_EQ(screen.frameAround, settings.area); // at rest: the frame is back

    screen.answers = false; // stalled with the frame shown: the area waits, the grabs do not
    source.cursor = RecordPoint{990, 50};
    const size_t grabs = source.areas.size();
    run(500);
    EXPECT_EQ(source.areas.size(), grabs + 10);
    EXPECT_EQ(screen.frameAround, settings.area);

    screen.answers = true;
    const int restedAt = settings.area.left;
    run(200);
    EXPECT_GT(settings.area.left, restedAt);
    EXPECT_EQ(screen.overlaps, 0);
}
