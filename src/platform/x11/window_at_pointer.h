#pragma once
// The window the user points at, as object capture takes it.
//
// The walk goes down the window tree from the root to the deepest viewable
// input-output window that contains the point, in stacking order. With a reparenting
// window manager the top-level child of the root is the manager's frame and the
// application's window (the one carrying WM_STATE) sits inside it: pointing at the
// caption or border therefore gives the whole frame, pointing inside gives the
// application's window or its deepest sub-window. Window shapes are not consulted.
//
// Threads: any thread, as long as no other thread uses the same Connection at the
// same time.

#include "platform/x11/screen_rect.h"
#include "platform/x11/x11_connection.h"

#include <optional>
#include <span>
#include <string>
#include <utility>

namespace vistrel::x11 {

struct WindowArea {
    xcb_window_t window = XCB_NONE;
    // The whole window, its X border included, in root coordinates. May reach
    // beyond the screen or beyond its parent.
    ScreenRect bounds;
    // The part of bounds that its ancestors and the screen leave visible; this is
    // what a grab of the window should read. Empty for an unmapped window.
    ScreenRect visible;
};

// The pointer's position in screen pixels, as the server has it (exact whatever
// the toolkit's scaling); nullopt when it is on another screen or unreadable.
std::optional<std::pair<int, int>> PointerPosition(const Connection& conn, std::string* error = nullptr);

// The window under the pointer; ignored windows (our own highlight frame, say) are
// looked through together with their sub-windows. Pointing at no window gives the
// root. nullopt, reason in *error, when the pointer is on another screen or a window
// on the way vanished during the walk.
std::optional<WindowArea> WindowAtPointer(const Connection& conn, std::string* error = nullptr,
                                          std::span<const xcb_window_t> ignored = {});

// The same for a point in screen coordinates.
std::optional<WindowArea> WindowAtPoint(const Connection& conn, int x, int y,
                                        std::string* error = nullptr,
                                        std::span<const xcb_window_t> ignored = {});

// The rectangles of a given window; nullopt when it does not exist (any more).
std::optional<WindowArea> WindowRectangle(const Connection& conn, xcb_window_t window,
                                          std::string* error = nullptr);

// True while the top-level window holding window (the window manager's frame
// around it, when it has one) is viewable; false once that has left the screen
// or no longer exists.
bool TopLevelViewable(const Connection& conn, xcb_window_t window);

} // namespace vistrel::x11
