#pragma once
// The recorder's timing as pure arithmetic on elapsed milliseconds, so that the
// tests drive it with a fake clock.
//
// Time is cut into slots of one capture interval. A frame grabbed in slot k
// gets position k in the stream, so the file keeps real time: a grab that comes
// late lands in a later slot and the positions in between stay empty entries
// (a player shows the previous frame for them). A slot already given a frame is
// not grabbed again. Intervals above one second are time-lapse: each grab takes
// the next position, whatever the time. An interval of 0 means "as often as the
// playback rate needs": one slot per frame of playback (1000 / fps ms).
//
// The next grab is due at the start of the next slot, counted from the start of
// the recording, not one interval after the last grab ended, so grabs and
// writes that take time do not stretch the period. The wait is made of slices
// of at most 50 ms with a look at the stop request between them.

#include <cstdint>
#include <optional>
#include <vector>

namespace vistrel {

constexpr int64_t kSleepSliceMs = 50;
// libavformat refuses a jump of more than this many positions between two
// frames of an AVI stream.
constexpr int64_t kMaxPositionGap = 60000;

class FrameClock {
public:
    // intervalMs 0 to 7200000, fps 1 to 200 (other values are clamped into range).
    FrameClock(int intervalMs, int fps);

    // The position for a grab at elapsedMs, or nullopt when the slot of that
    // moment already has its frame (the grab is left out). Each returned
    // position is greater than the one before; the first is 0. Elapsed times
    // that go backwards are taken as the latest one seen.
    std::optional<int64_t> Take(int64_t elapsedMs);

    // When the next grab is due, in elapsed milliseconds: the start of the slot
    // after the last one taken (0 before the first Take).
    int64_t NextDueMs() const;

    bool timeLapse() const { return m_timeLapse; }

private:
    int64_t SlotAt(int64_t elapsedMs) const;

    // A slot lasts m_periodNum / m_periodDen ms.
    int64_t m_periodNum;
    int64_t m_periodDen;
    bool m_timeLapse;
    int64_t m_lastSlot = -1;
    int64_t m_lastPosition = -1;
    int64_t m_latestElapsed = 0;
};

// How long to sleep now, waiting for dueMs: never more than one slice, 0 when due.
int64_t SleepSliceMs(int64_t nowMs, int64_t dueMs);

// Whether a grab may be skipped because nothing changed on the screen: never
// for the first frame, and not once keyFrameEvery positions have passed since
// the last real frame, so a still screen still gets a real frame that often.
bool MaySkipUnchanged(int64_t position, std::optional<int64_t> lastRealPosition, int keyFrameEvery);

// The positions a frame is written at so that no jump between two written
// positions exceeds maxGap: filler copies every maxGap positions after
// lastWritten (when there is one), then position itself. A stall of the
// machine (suspend, a stopped process) can make such a jump.
std::vector<int64_t> PositionsToWrite(std::optional<int64_t> lastWritten, int64_t position,
                                      int64_t maxGap = kMaxPositionGap);

} // namespace vistrel
