#include "record/core/flashing_frame_link.h"

namespace vistrel {

FlashingFrameLink::FlashingFrameLink(std::function<void()> wake) : m_wake(std::move(wake)) {}

void FlashingFrameLink::Wake()
{
    if (m_wake && !m_pending.exchange(true))
        m_wake();
}

RecordRegion FlashingFrameLink::PanTo(const RecordRegion& current, const RecordRegion& wanted)
{
    bool changed = false;
    RecordRegion use;
    {
        std::lock_guard lock(m_mutex);
        const bool move = !(wanted == current);
        changed = move != m_moving;
        m_moving = move;
        use = move && !m_hidden ? current : wanted;
        m_area = use;
    }
    if (changed)
        Wake();
    return use;
}

void FlashingFrameLink::GrabBegins(const RecordRegion& area)
{
    {
        std::lock_guard lock(m_mutex);
        m_area = area;
        m_grabbing = true;
        ++m_grabs;
    }
    Wake();
}

void FlashingFrameLink::GrabEnded(const RecordRegion&)
{
    {
        std::lock_guard lock(m_mutex);
        m_grabbing = false;
    }
    Wake();
}

FlashingFrameLink::View FlashingFrameLink::Take()
{
    m_pending = false; // before reading: a change after the read wakes again
    std::lock_guard lock(m_mutex);
    View view;
    view.area = m_area;
    view.grabbing = m_grabbing;
    view.grabbedSince = m_grabs != m_grabsSeen;
    view.moving = m_moving;
    m_grabsSeen = m_grabs;
    return view;
}

void FlashingFrameLink::Hidden()
{
    std::lock_guard lock(m_mutex);
    m_hidden = true;
}

std::optional<RecordRegion> FlashingFrameLink::Reveal()
{
    std::lock_guard lock(m_mutex);
    if (m_moving || !m_area)
        return std::nullopt;
    m_hidden = false;
    return m_area;
}

} // namespace vistrel
