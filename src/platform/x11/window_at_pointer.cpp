#include "platform/x11/window_at_pointer.h"

#include "platform/x11/screen_grab.h"
#include "platform/x11/x11_error.h"

#include <algorithm>
#include <vector>

namespace vistrel::x11 {

namespace {

// Deeper than any real window tree; only guards against a server gone mad.
constexpr int kMaxDepth = 64;
// How deep below a top-level window the application's window is looked for.
constexpr int kClientSearchDepth = 3;

struct PlacedWindow {
    xcb_window_t window = XCB_NONE;
    ScreenRect bounds;   // border included
    ScreenRect inside;   // where its sub-windows can show
    ScreenRect visible;  // bounds as far as ancestors and the screen show it
};

// Children bottom to top, or nullopt when the window no longer exists.
std::optional<std::vector<xcb_window_t>> ChildrenOf(xcb_connection_t* c, xcb_window_t window,
                                                    xcb_window_t* parent = nullptr)
{
    Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
    if (!tree)
        return std::nullopt;
    if (parent)
        *parent = tree->parent;
    const xcb_window_t* first = xcb_query_tree_children(tree.get());
    return std::vector<xcb_window_t>(first, first + xcb_query_tree_children_length(tree.get()));
}

ScreenRect BoundsFrom(const xcb_get_geometry_reply_t& geometry, int insideX, int insideY)
{
    const int border = geometry.border_width;
    return {insideX - border, insideY - border, geometry.width + 2 * border,
            geometry.height + 2 * border};
}

ScreenRect InsideOf(const ScreenRect& bounds, int border)
{
    return {bounds.x + border, bounds.y + border, bounds.width - 2 * border,
            bounds.height - 2 * border};
}

// The topmost viewable input-output child of parent that contains the point.
// Children that vanish while we look are simply not there.
std::optional<PlacedWindow> ChildAt(xcb_connection_t* c, const PlacedWindow& parent,
                                    const std::vector<xcb_window_t>& children, int x, int y,
                                    std::span<const xcb_window_t> ignored)
{
    std::vector<xcb_get_window_attributes_cookie_t> attributeCookies;
    std::vector<xcb_get_geometry_cookie_t> geometryCookies;
    attributeCookies.reserve(children.size());
    geometryCookies.reserve(children.size());
    for (xcb_window_t child : children) {
        attributeCookies.push_back(xcb_get_window_attributes(c, child));
        geometryCookies.push_back(xcb_get_geometry(c, child));
    }
    std::optional<PlacedWindow> found;
    // Every reply is collected, so none is left queued on the connection.
    for (size_t i = 0; i < children.size(); ++i) {
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(c, attributeCookies[i], nullptr));
        Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(c, geometryCookies[i], nullptr));
        if (!attributes || !geometry || attributes->map_state != XCB_MAP_STATE_VIEWABLE ||
            attributes->_class != XCB_WINDOW_CLASS_INPUT_OUTPUT ||
            std::find(ignored.begin(), ignored.end(), children[i]) != ignored.end())
            continue;
        PlacedWindow candidate;
        candidate.window = children[i];
        candidate.bounds = {parent.inside.x + geometry->x, parent.inside.y + geometry->y,
                            geometry->width + 2 * geometry->border_width,
                            geometry->height + 2 * geometry->border_width};
        candidate.inside = InsideOf(candidate.bounds, geometry->border_width);
        candidate.visible = Intersect(candidate.bounds, Intersect(parent.inside, parent.visible));
        if (candidate.visible.contains(x, y))
            found = candidate;  // later children are stacked higher
    }
    return found;
}

xcb_atom_t WmStateAtom(xcb_connection_t* c)
{
    static constexpr char kName[] = "WM_STATE";
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, sizeof kName - 1, kName), nullptr));
    return reply ? reply->atom : XCB_NONE;
}

// Which of the windows carry WM_STATE, i.e. are an application's top-level window.
std::vector<bool> CarryWmState(xcb_connection_t* c, xcb_atom_t wmState,
                               const std::vector<xcb_window_t>& windows)
{
    std::vector<xcb_get_property_cookie_t> cookies;
    cookies.reserve(windows.size());
    for (xcb_window_t window : windows)
        cookies.push_back(xcb_get_property(c, 0, window, wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 0));
    std::vector<bool> carry;
    carry.reserve(windows.size());
    for (const auto& cookie : cookies) {
        Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr));
        carry.push_back(reply && reply->type != XCB_NONE);
    }
    return carry;
}

// Whether an application's window sits somewhere below the given one: then the
// given one is a window manager's frame.
bool FramesAnApplication(xcb_connection_t* c, xcb_atom_t wmState, xcb_window_t window)
{
    std::vector<xcb_window_t> level{window};
    for (int depth = 0; depth < kClientSearchDepth && !level.empty(); ++depth) {
        std::vector<xcb_window_t> next;
        for (xcb_window_t parent : level) {
            if (auto children = ChildrenOf(c, parent))
                next.insert(next.end(), children->begin(), children->end());
        }
        const std::vector<bool> carry = CarryWmState(c, wmState, next);
        if (std::find(carry.begin(), carry.end(), true) != carry.end())
            return true;
        level = std::move(next);
    }
    return false;
}

WindowArea AreaOf(const PlacedWindow& placed)
{
    return {placed.window, placed.bounds, placed.visible};
}

} // namespace

std::optional<WindowArea> WindowAtPoint(const Connection& conn, int x, int y, std::string* error,
                                        std::span<const xcb_window_t> ignored)
{
    const std::optional<ScreenRect> currentScreen = CurrentScreenRect(conn, error);
    if (!currentScreen)
        return std::nullopt;
    const ScreenRect screen = *currentScreen;
    xcb_connection_t* c = conn.get();
    if (!screen.contains(x, y)) {
        ReportError(error, "the point lies outside the screen");
        return std::nullopt;
    }
    // Windows may come and go during the walk; a vanished child is skipped, a
    // vanished window we stand in ends the walk with an error.
    std::vector<PlacedWindow> path{{conn.root(), screen, screen, screen}};
    while (path.size() <= size_t(kMaxDepth)) {
        const auto children = ChildrenOf(c, path.back().window);
        if (!children) {
            ReportError(error, "the window under the pointer went away");
            return std::nullopt;
        }
        auto child = ChildAt(c, path.back(), *children, x, y, ignored);
        if (!child)
            break;
        path.push_back(*child);
    }
    if (path.size() == 1)
        return AreaOf(path.front());  // nothing but the root there

    const xcb_atom_t wmState = WmStateAtom(c);
    if (wmState == XCB_NONE)
        return AreaOf(path.back());  // no window manager has ever run: no frames
    std::vector<xcb_window_t> walked;
    for (size_t i = 1; i < path.size(); ++i)
        walked.push_back(path[i].window);
    const std::vector<bool> carry = CarryWmState(c, wmState, walked);
    const bool insideApplication = std::find(carry.begin(), carry.end(), true) != carry.end();
    if (!insideApplication && FramesAnApplication(c, wmState, path[1].window))
        return AreaOf(path[1]);  // caption or border: the whole frame
    return AreaOf(path.back());
}

std::optional<std::pair<int, int>> PointerPosition(const Connection& conn, std::string* error)
{
    if (!conn.ok()) {
        ReportError(error, "no X connection");
        return std::nullopt;
    }
    xcb_generic_error_t* rawError = nullptr;
    Reply<xcb_query_pointer_reply_t> pointer(xcb_query_pointer_reply(
        conn.get(), xcb_query_pointer(conn.get(), conn.root()), &rawError));
    Reply<xcb_generic_error_t> failure(rawError);
    if (!pointer || failure) {
        ReportError(error, "cannot read the pointer position: " + DescribeXError(failure.get()));
        return std::nullopt;
    }
    if (!pointer->same_screen) {
        ReportError(error, "the pointer is on another screen");
        return std::nullopt;
    }
    return std::pair<int, int>(pointer->root_x, pointer->root_y);
}

std::optional<WindowArea> WindowAtPointer(const Connection& conn, std::string* error,
                                          std::span<const xcb_window_t> ignored)
{
    const auto position = PointerPosition(conn, error);
    if (!position)
        return std::nullopt;
    return WindowAtPoint(conn, position->first, position->second, error, ignored);
}

bool TopLevelViewable(const Connection& conn, xcb_window_t window)
{
    xcb_connection_t* c = conn.get();
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        xcb_window_t parent = XCB_NONE;
        if (!ChildrenOf(c, window, &parent))
            return false;
        if (parent == conn.root() || parent == XCB_NONE) {
            Reply<xcb_get_window_attributes_reply_t> attributes(
                xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
            return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        }
        window = parent;
    }
    return false;
}

std::optional<WindowArea> WindowRectangle(const Connection& conn, xcb_window_t window,
                                          std::string* error)
{
    const std::optional<ScreenRect> currentScreen = CurrentScreenRect(conn, error);
    if (!currentScreen)
        return std::nullopt;
    const ScreenRect screen = *currentScreen;
    xcb_connection_t* c = conn.get();
    WindowArea area;
    area.window = window;
    ScreenRect visible = screen;
    // The window itself, then each ancestor up to the root, which clip it.
    for (xcb_window_t current = window; current != XCB_NONE && current != conn.root();) {
        const auto geometryCookie = xcb_get_geometry(c, current);
        const auto attributesCookie = xcb_get_window_attributes(c, current);
        const auto originCookie = xcb_translate_coordinates(c, current, conn.root(), 0, 0);
        const auto treeCookie = xcb_query_tree(c, current);
        Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, geometryCookie, nullptr));
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(c, attributesCookie, nullptr));
        Reply<xcb_translate_coordinates_reply_t> origin(
            xcb_translate_coordinates_reply(c, originCookie, nullptr));
        Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, treeCookie, nullptr));
        if (!geometry || !attributes || !origin || !tree) {
            ReportError(error, "no such window: " + std::to_string(window));
            return std::nullopt;
        }
        const ScreenRect bounds = BoundsFrom(*geometry, origin->dst_x, origin->dst_y);
        if (current == window) {
            area.bounds = bounds;
            visible = Intersect(visible, bounds);
        } else {
            visible = Intersect(visible, InsideOf(bounds, geometry->border_width));
        }
        if (attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            visible = {};
        current = tree->parent;
    }
    area.visible = window == conn.root() ? screen : visible;
    if (window == conn.root())
        area.bounds = screen;
    return area;
}

} // namespace vistrel::x11
