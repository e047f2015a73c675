// The frame around a recorded area as the grabs drive it: pale yellow while a
// grab is taken, green between grabs, inverted for a panning area, hidden when
// the user hides it, and gone before a panning area moves.

#include "record/core/flashing_frame.h"
#include "record/dialogs/flashing_window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>

#include <gtest/gtest.h>

#include <thread>

using namespace vistrel;

namespace {

// Runs queued calls and timers for ms, or until done.
void RunEvents(int ms, const std::function<bool()>& done = {})
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms && !(done && done()))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

unsigned Colour(CFlashingWnd& frame) { return frame.grab().toImage().pixel(1, 1) & 0xFFFFFF; }

// A grab as the grab thread reports it.
void Grab(FlashingFrameLink& link, const RecordRegion& area, bool ended)
{
    std::thread([&] {
        link.GrabBegins(area);
        if (ended)
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
    Grab(*link, kArea, false);
    RunEvents(1000, [&] { return frame.isVisible(); });
    ASSERT_TRUE(frame.isVisible());
    EXPECT_EQ(frame.area(), kArea);
    EXPECT_EQ(Colour(frame), kFlashingFrameGrabbingColour);
    link->GrabEnded(kArea);
    RunEvents(200);
    EXPECT_EQ(Colour(frame), kFlashingFrameColour);

    Grab(*link, kArea, true); // over before this thread looked: still blinks
    RunEvents(1000, [&] { return Colour(frame) == kFlashingFrameGrabbingColour; });
    EXPECT_EQ(Colour(frame), kFlashingFrameGrabbingColour);
    RunEvents(200);
    EXPECT_EQ(Colour(frame), kFlashingFrameColour);

    shown = false; // the check box, during the recording
    Grab(*link, kArea, true);
    RunEvents(200);
    EXPECT_FALSE(frame.isVisible());
}

TEST(FlashingFrame, APanningAreasFrameInvertsAtEachGrabAndGoesBeforeTheAreaMoves)
{
    CFlashingWnd frame;
    CFlashingFollower follower(frame, [] { return true; });
    const auto link = follower.Begin(true);
    EXPECT_EQ(link->PanTo(kArea, kArea), kArea);
    Grab(*link, kArea, false);
    RunEvents(1000, [&] { return frame.isVisible(); });
    EXPECT_EQ(Colour(frame), 0u); // green, inverted with green
    link->GrabEnded(kArea);
    RunEvents(200);
    EXPECT_EQ(Colour(frame), kFlashingFrameColour);

    const RecordRegion moved{120, 100, 319, 199};
    EXPECT_EQ(link->PanTo(kArea, moved), kArea); // held back while the frame is up
    RunEvents(1000, [&] { return !frame.isVisible(); });
    EXPECT_EQ(link->PanTo(kArea, moved), moved);
    EXPECT_EQ(link->PanTo(moved, moved), moved);
    RunEvents(1000, [&] { return frame.isVisible(); });
    EXPECT_EQ(frame.area(), moved);
}
