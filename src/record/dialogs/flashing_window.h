#pragma once
// CFlashingWnd: the frame shown around the area while it is recorded. A
// top-most window of ours that takes no input and lies wholly outside the
// area (shaped to the strips of flashing_frame.h), so the grab never sees it.
// Green between grabs; pale yellow while a grab is taken; a panning area's
// closed frame is inverted instead (green becomes black).
// User-interface thread only.

#include "record/core/flashing_frame_link.h"
#include "record/core/record_options.h"

#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

namespace vistrel {

class CFlashingWnd : public QWidget {
    Q_OBJECT
public:
    CFlashingWnd();

    // Shapes and places the frame around area (screen pixels); hidden if empty.
    void SetUpRegion(const RecordRegion& area, bool panStyle);
    const RecordRegion& area() const { return m_area; }

    void PaintNormal();
    void PaintGrabbing();
    // Inverts the frame's colour; twice restores it.
    void InvertForPan();
    bool inverted() const { return m_inverted; }
    // Hides the frame and returns once the display has taken it off the screen.
    void HideNow();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    RecordRegion m_area;
    bool m_grabbing = false;
    bool m_inverted = false;
};

// Keeps a CFlashingWnd in step with a recording: the look of each grab (for
// auto-pan, the inverted frame at the area's new place), coalesced through a
// FlashingFrameLink so that the grab thread never waits for this thread and
// a busy event loop never collects more than one queued update. A grab this
// thread saw only afterwards still shows, briefly. The frame is shown only
// while shown() says so; it is asked at every update.
// User-interface thread only; it must outlive the recordings it follows.
class CFlashingFollower : public QObject {
    Q_OBJECT
public:
    CFlashingFollower(CFlashingWnd& frame, std::function<bool()> shown);

    // A recording begins: the watch to give it. panStyle: the closed frame of
    // a panning area rather than corner brackets.
    std::shared_ptr<FlashingFrameLink> Begin(bool panStyle);
    // The recording has ended: hides the frame.
    void End();
    // Brings the frame up to date with the latest grab and with shown().
    void Update();

private:
    void Conceal();

    CFlashingWnd& m_frame;
    std::function<bool()> m_shown;
    std::shared_ptr<FlashingFrameLink> m_link;
    bool m_panStyle = false;
    uint64_t m_recordings = 0;
    QTimer m_hold; // keeps the look of a grab on the screen long enough to be seen
};

} // namespace vistrel
