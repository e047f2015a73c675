#pragma once
// One capture at a time: the region, object, timer and recording captures of
// the windowed program share one flag, and none starts while it is set.
// User-interface thread only.

namespace vistrel {

class CaptureBusy {
public:
    bool busy() const { return m_busy; }
    void Set() { m_busy = true; }
    void Clear() { m_busy = false; }

private:
    bool m_busy = false;
};

} // namespace vistrel
