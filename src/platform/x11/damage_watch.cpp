#include "platform/x11/damage_watch.h"

#include "platform/x11/x11_error.h"

#include <xcb/damage.h>

#include <cstdlib>

namespace vistrel::x11 {

DamageWatch::DamageWatch(const Connection& conn) : m_conn(conn)
{
    if (!conn.ok()) {
        m_problem = "no X connection";
        return;
    }
    xcb_connection_t* c = conn.get();
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_damage_id);
    if (!extension || !extension->present) {
        m_problem = "the X server has no DAMAGE extension";
        return;
    }
    // The server answers nothing else of DAMAGE until the client has stated its version.
    xcb_generic_error_t* rawError = nullptr;
    Reply<xcb_damage_query_version_reply_t> version(xcb_damage_query_version_reply(
        c, xcb_damage_query_version(c, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION), &rawError));
    Reply<xcb_generic_error_t> versionError(rawError);
    if (!version || versionError) {
        m_problem = "the X server's DAMAGE does not answer: " + DescribeXError(versionError.get());
        return;
    }
    // Each new piece of drawing as its own rectangle, not one box around all of
    // it: drawing on every side of the area (the frame around it, say) would
    // otherwise make a box that covers the area too.
    const uint32_t id = xcb_generate_id(c);
    Reply<xcb_generic_error_t> failure(xcb_request_check(
        c, xcb_damage_create_checked(c, id, conn.root(), XCB_DAMAGE_REPORT_LEVEL_DELTA_RECTANGLES)));
    if (failure) {
        m_problem = "cannot watch the screen for changes: " + DescribeXError(failure.get());
        return;
    }
    m_damage = id;
    m_firstEvent = extension->first_event;
}

DamageWatch::~DamageWatch()
{
    if (m_damage) {
        xcb_damage_destroy(m_conn.get(), m_damage);
        xcb_flush(m_conn.get());
    }
}

bool DamageWatch::ChangedSinceLastLook(const ScreenRect& area)
{
    if (!m_damage)
        return true;
    xcb_connection_t* c = m_conn.get();
    // Clear first, then a round trip: every report of what was drawn before the
    // clearing has arrived once the reply is in; later drawing reports anew.
    const uint16_t cleared = uint16_t(xcb_damage_subtract(c, m_damage, XCB_NONE, XCB_NONE).sequence);
    Reply<xcb_get_input_focus_reply_t> sync(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    if (!sync)
        return true;
    bool changed = !m_looked;
    m_looked = true;
    for (const ScreenRect& box : m_carried)
        changed = changed || !Intersect(box, area).empty();
    m_carried.clear();
    while (xcb_generic_event_t* raw = xcb_poll_for_queued_event(c)) {
        Reply<xcb_generic_event_t> event(raw);
        if ((event->response_type & 0x7F) != m_firstEvent + XCB_DAMAGE_NOTIFY)
            continue;
        const auto* notify = reinterpret_cast<const xcb_damage_notify_event_t*>(event.get());
        const ScreenRect box{notify->area.x, notify->area.y, notify->area.width, notify->area.height};
        // A report sent after the clearing (it came in with the reply) is about
        // drawing this look may not have seen, and the server will not send it
        // again: it counts for the next look.
        if (int16_t(uint16_t(notify->sequence - cleared)) >= 0)
            m_carried.push_back(box);
        else if (!Intersect(box, area).empty())
            changed = true;
    }
    return changed;
}

} // namespace vistrel::x11
