#pragma once
// Whether anything was drawn on the screen within an area since the last look,
// through the DAMAGE extension: a damage object on the root window reports the
// rectangles newly drawn, the damage is cleared at each look, and a round
// trip after the clearing brings in every report sent before it. A recording
// uses it to leave out the grab and compression of frames that did not change.
//
// Threads: the thread that owns the Connection.

#include "platform/x11/screen_rect.h"
#include "platform/x11/x11_connection.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vistrel::x11 {

class DamageWatch {
public:
    // Check ok(): false when the server has no DAMAGE (then nothing can be left out).
    explicit DamageWatch(const Connection& conn);
    ~DamageWatch();
    DamageWatch(const DamageWatch&) = delete;
    DamageWatch& operator=(const DamageWatch&) = delete;

    bool ok() const { return m_damage != 0; }
    const std::string& problem() const { return m_problem; }

    // Whether anything within area was drawn since the previous call (true on
    // the first call, and whenever the server cannot say).
    bool ChangedSinceLastLook(const ScreenRect& area);

private:
    const Connection& m_conn;
    uint32_t m_damage = 0;
    uint8_t m_firstEvent = 0;
    bool m_looked = false;
    std::vector<ScreenRect> m_carried; // reports that belong to the next look
    std::string m_problem;
};

} // namespace vistrel::x11
