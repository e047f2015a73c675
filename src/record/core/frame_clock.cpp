#include "record/core/frame_clock.h"

#include "record/core/record_options.h"

#include <algorithm>

namespace vistrel {

FrameClock::FrameClock(int intervalMs, int fps)
{
    const int interval = std::clamp(intervalMs, 0, kMaxCaptureIntervalMs);
    const int rate = std::clamp(fps, kMinPlaybackFps, kMaxPlaybackFps);
    m_timeLapse = interval > 1000;
    if (interval == 0) {
        m_periodNum = 1000;
        m_periodDen = rate;
    } else {
        m_periodNum = interval;
        m_periodDen = 1;
    }
}

int64_t FrameClock::SlotAt(int64_t elapsedMs) const
{
    // elapsed is at most a few hundred years in ms, den at most 200: no overflow.
    return elapsedMs * m_periodDen / m_periodNum;
}

std::optional<int64_t> FrameClock::Take(int64_t elapsedMs)
{
    m_latestElapsed = std::max(m_latestElapsed, elapsedMs);
    const int64_t slot = SlotAt(m_latestElapsed);
    if (slot <= m_lastSlot)
        return std::nullopt;
    m_lastSlot = slot;
    m_lastPosition = m_timeLapse ? m_lastPosition + 1 : slot;
    return m_lastPosition;
}

int64_t FrameClock::NextDueMs() const
{
    const int64_t next = m_lastSlot + 1;
    // The first millisecond that lies in slot `next`: ceil(next * num / den).
    return (next * m_periodNum + m_periodDen - 1) / m_periodDen;
}

int64_t SleepSliceMs(int64_t nowMs, int64_t dueMs)
{
    return std::clamp<int64_t>(dueMs - nowMs, 0, kSleepSliceMs);
}

bool MaySkipUnchanged(int64_t position, std::optional<int64_t> lastRealPosition, int keyFrameEvery)
{
    if (!lastRealPosition)
        return false;
    return position - *lastRealPosition < std::max(keyFrameEvery, 1);
}

std::vector<int64_t> PositionsToWrite(std::optional<int64_t> lastWritten, int64_t position, int64_t maxGap)
{
    std::vector<int64_t> positions;
    if (lastWritten && maxGap > 0) {
        for (int64_t p = *lastWritten + maxGap; p < position; p += maxGap)
            positions.push_back(p);
    }
    positions.push_back(position);
    return positions;
}

} // namespace vistrel
