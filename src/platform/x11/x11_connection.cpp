#include "platform/x11/x11_connection.h"

#include <cstdlib>

namespace vistrel::x11 {

void FreeDeleter::operator()(void* p) const { std::free(p); }

Connection::Connection(const char* displayName)
{
    int screenNumber = 0;
    xcb_connection_t* conn = xcb_connect(displayName, &screenNumber);
    if (!conn || xcb_connection_has_error(conn)) {
        if (conn)
            xcb_disconnect(conn);
        m_error = "cannot open the X display";
        return;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(conn));
    for (int i = 0; it.rem && i < screenNumber; ++i)
        xcb_screen_next(&it);
    if (!it.rem) {
        xcb_disconnect(conn);
        m_error = "the X display has no such screen";
        return;
    }
    m_conn = conn;
    m_screen = it.data;
}

Connection::~Connection()
{
    if (m_conn)
        xcb_disconnect(m_conn);
}

} // namespace vistrel::x11
