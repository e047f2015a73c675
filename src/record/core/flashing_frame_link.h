#pragma once
// Between the grab thread and the frame shown around the recorded area.
//
// The grab thread must never wait for the user interface, and the user
// interface must never pile up calls when it is slow. So the grab thread only
// updates one "latest state" here and asks for a wake-up when none is still
// unanswered; the answer (Take, on the user-interface thread) reads whatever
// is latest. Grabs the interface missed show as grabbedSince.
//
// The frame lies just outside the area, so it never shows in a frame. A
// panning area would run into it: the area moves only while the frame is
// hidden. The interface hides the frame when it sees the area wanting to move
// (moving), makes sure the display has carried that out, and says so
// (Hidden); from then on the area moves freely. Once the area rests, Reveal
// takes that back and names the area, which then stays put until the frame
// is hidden again. Both sides act under one lock, so the area never moves
// while the frame may be on the screen.

#include "record/core/record_loop.h"
#include "record/core/record_options.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

namespace vistrel {

class FlashingFrameLink : public GrabWatch {
public:
    // wake: called on the grab thread; it only queues a call to Take's caller.
    explicit FlashingFrameLink(std::function<void()> wake);

    // Grab thread.
    RecordRegion PanTo(const RecordRegion& current, const RecordRegion& wanted) override;
    void GrabBegins(const RecordRegion& area) override;
    void GrabEnded(const RecordRegion& area) override;

    // User-interface thread.
    struct View {
        std::optional<RecordRegion> area; // the area grabbed; none before the first grab
        bool grabbing = false;     // a grab is under way
        bool grabbedSince = false; // a grab began since the last Take
        bool moving = false;       // auto-pan wants to move the area
    };
    // Answers a wake-up: the latest state. Later changes wake again.
    View Take();
    // The frame is off the screen, for sure, and stays off until Reveal.
    void Hidden();
    // The area to show the frame around, which stays put until Hidden; none
    // while the area wants to move or before the first grab (keep the frame
    // hidden then).
    std::optional<RecordRegion> Reveal();

private:
    void Wake();

    std::function<void()> m_wake;
    std::atomic<bool> m_pending{false};
    std::mutex m_mutex;
    std::optional<RecordRegion> m_area;
    bool m_grabbing = false;
    bool m_moving = false;
    bool m_hidden = true; // nothing is shown until Reveal
    uint64_t m_grabs = 0;
    uint64_t m_grabsSeen = 0;
};

} // namespace vistrel
