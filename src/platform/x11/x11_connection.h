#pragma once
// An xcb connection of our own. Grabs and cursor queries run on it rather than on
// the toolkit's connection, so they never interleave with the toolkit's requests
// and work in command-line captures where no toolkit runs at all.

#include <xcb/xcb.h>

#include <memory>
#include <string>

namespace vistrel::x11 {

// Frees an xcb reply (or any malloc'ed block xcb hands out).
struct FreeDeleter {
    void operator()(void* p) const;
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

class Connection {
public:
    // Opens the display named (or $DISPLAY when null). Check ok() afterwards.
    explicit Connection(const char* displayName = nullptr);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool ok() const { return m_conn != nullptr; }
    const std::string& error() const { return m_error; }
    xcb_connection_t* get() const { return m_conn; }
    xcb_screen_t* screen() const { return m_screen; }
    xcb_window_t root() const { return m_screen ? m_screen->root : XCB_NONE; }
    int width() const { return m_screen ? m_screen->width_in_pixels : 0; }
    int height() const { return m_screen ? m_screen->height_in_pixels : 0; }
    int rootDepth() const { return m_screen ? m_screen->root_depth : 0; }
    // To wait for events with poll(); xcb owns it. -1 once the connection is lost.
    int fd() const { return m_conn && !xcb_connection_has_error(m_conn) ? xcb_get_file_descriptor(m_conn) : -1; }

private:
    xcb_connection_t* m_conn = nullptr;
    xcb_screen_t* m_screen = nullptr;
    std::string m_error;
};

} // namespace vistrel::x11
