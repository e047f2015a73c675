// The frame around a recorded area as the grabs drive it: pale yellow while a
// grab is taken, green between grabs, inverted for a panning area, hidden when
// the user hides it, and out of a panning area's way before the area moves.

#include "record/core/flashing_frame.h"
#include "record/flashing_window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

using namespace vistrel;

namespace {

// Lets queued calls and timers run for ms, or until done says so.
void RunEvents(int ms, const std::function<bool()>& done = {})
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms && !(done && done())) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// The colour the frame shows in its top left corner, as painted.
unsigned Colour(CFlashingWnd& frame)
{
    return frame.grab().toImage().pixel(1, 1) & 0xFFFFFF;
}

// A grab as the grab thread reports it, from a thread of its own.
void GrabOnAnotherThread(FlashingFrameLink& link, const RecordRegion& area, bool end)
{
    std::thread([&] {
        link.GrabBegins(area);
        if (end)
            link.GrabEnded(area);
    }).join();
}

const RecordRegion kArea{100, 100, 299, 199};

} // namespace

TEST(FlashingFrame, PaintsTheGrabbingColourDuringAGrabThenTheNormalOne)
{
    bool shown = true;
    CFlashingWnd frame;
    CFlashingFollower follower(frame, [&] { return shown; });
    const auto link = follower.Begin(false);
    RunEvents(20);
    EXPECT_FALSE(frame.isVisible()); // nothing grabbed yet, so nowhere to be

    GrabOnAnotherThread(*link, kArea, false);
    RunEvents(1000, [&] { return frame.isVisible(); });
    ASSERT_TRUE(frame.isVisible());
    EXPECT_EQ(frame.area(), kArea);
    EXPECT_EQ(Colour(frame), kFlashingFrameGrabbingColour);
    link->GrabEnded(kArea);
    RunEvents(200);
    EXPECT_EQ(Colour(frame), kFlashingFrameColour);

    // A grab over before this thread looked still blinks, briefly.
    GrabOnAnotherThread(*link, kArea, true);
    RunEvents(1000, [&] { return Colour(frame) == kFlashingFrameGrabbingColour; });
    EXPECT_EQ(Colour(frame), kFlashingFrameGrabbingColour);
    RunEvents(200);
    EXPECT_EQ(Colour(frame), kFlashingFrameColour);

    // Hidden by the user during the recording, and back at the next grab.
    shown = false;
    follower.Update();
    EXPECT_FALSE(frame.isVisible());
    GrabOnAnotherThread(*link, kArea, true);
    RunEvents(100);
    EXPECT_FALSE(frame.isVisible());
    shown = true;
    GrabOnAnotherThread(*link, kArea, true);
    RunEvents(1000, [&] { return frame.isVisible(); });
    EXPECT_TRUE(frame.isVisible());

    follower.End();
    EXPECT_FALSE(frame.isVisible());
}

TEST(FlashingFrame, APanningAreasFrameInvertsAtEachGrabAndGoesBeforeTheAreaMoves)
{
    CFlashingWnd frame;
    CFlashingFollower follower(frame, [] { return true; });
    const auto link = follower.Begin(true);
    const RecordRegion moved{120, 100, 319, 199};
    EXPECT_EQ(link->PanTo(kArea, kArea), kArea);
    GrabOnAnotherThread(*link, kArea, false);
    RunEvents(1000, [&] { return frame.isVisible(); });
    ASSERT_TRUE(frame.isVisible());
    EXPECT_EQ(Colour(frame), kFlashingFrameColour ^ kFlashingFrameColour); // green inverted: black
    link->GrabEnded(kArea);
    RunEvents(200);
    EXPECT_EQ(Colour(frame), kFlashingFrameColour);

    // The area wants to move: held back while the frame is up, free once it is gone.
    EXPECT_EQ(link->PanTo(kArea, moved), kArea);
    RunEvents(1000, [&] { return !frame.isVisible(); });
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(link->PanTo(kArea, moved), moved);
    GrabOnAnotherThread(*link, moved, true);
    RunEvents(100);
    EXPECT_FALSE(frame.isVisible()); // still moving
    EXPECT_EQ(link->PanTo(moved, moved), moved);
    RunEvents(1000, [&] { return frame.isVisible(); });
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(frame.area(), moved);
}
