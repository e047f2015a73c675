#include "platform/x11/root_background.h"

#include "platform/x11/pixel_layout.h"
#include "platform/x11/screen_grab.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_error.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vistrel::x11 {

namespace {

constexpr std::array kRootPixmapAtoms = {"_XROOTPMAP_ID", "ESETROOT_PMAP_ID"};

xcb_atom_t Atom(const Connection& conn, const char* name)
{
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(conn.get(), xcb_intern_atom(conn.get(), 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_pixmap_t PixmapProperty(const Connection& conn, xcb_atom_t atom)
{
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        conn.get(), xcb_get_property(conn.get(), 0, conn.root(), atom, XCB_ATOM_PIXMAP, 0, 1), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return XCB_NONE;
    return *static_cast<const xcb_pixmap_t*>(xcb_get_property_value(reply.get()));
}

// Waits for the server to have handled everything sent; false on any error
// still queued or a lost connection.
bool Sync(const Connection& conn, std::string* error, const char* what)
{
    xcb_generic_error_t* raw = nullptr;
    Reply<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(conn.get(), xcb_get_input_focus(conn.get()), &raw));
    Reply<xcb_generic_error_t> failure(raw);
    if (!reply || failure || xcb_connection_has_error(conn.get())) {
        ReportError(error, std::string(what) + ": " + DescribeXError(failure.get()));
        return false;
    }
    return true;
}

bool Checked(const Connection& conn, xcb_void_cookie_t cookie, std::string* error, const char* what)
{
    Reply<xcb_generic_error_t> failure(xcb_request_check(conn.get(), cookie));
    if (failure)
        ReportError(error, std::string(what) + ": " + DescribeXError(failure.get()));
    return !failure;
}

// The pixmap a setter kept alive before, freed with its client's resources
// when both properties agree that it is one.
void FreeKeptPixmap(const Connection& conn, xcb_pixmap_t kept)
{
    if (kept != XCB_NONE)
        xcb_request_check(conn.get(), xcb_kill_client_checked(conn.get(), kept));
}

xcb_pixmap_t KeptPixmap(const Connection& conn)
{
    const xcb_pixmap_t published = PixmapProperty(conn, Atom(conn, kRootPixmapAtoms[0]));
    return published != XCB_NONE && published == PixmapProperty(conn, Atom(conn, kRootPixmapAtoms[1])) ? published
                                                                                                        : XCB_NONE;
}

bool PutPicture(const Connection& conn, xcb_pixmap_t pixmap, const Bitmap& picture, std::string* error)
{
    xcb_connection_t* c = conn.get();
    const xcb_gcontext_t gc = xcb_generate_id(c);
    if (!Checked(conn, xcb_create_gc_checked(c, gc, pixmap, 0, nullptr), error, "cannot draw the wallpaper"))
        return false;
    const size_t rowBytes = size_t(picture.width) * 4;
    const size_t requestBytes = size_t(xcb_get_maximum_request_length(c)) * 4;
    const int rowsPerStrip = int(std::clamp<size_t>((requestBytes - 64) / rowBytes, 1, size_t(picture.height)));
    for (int y = 0; y < picture.height; y += rowsPerStrip) {
        const int rows = std::min(rowsPerStrip, picture.height - y);
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, uint16_t(picture.width), uint16_t(rows), 0,
                      int16_t(y), 0, conn.screen()->root_depth, uint32_t(rowBytes * size_t(rows)),
                      reinterpret_cast<const uint8_t*>(picture.row(y)));
    }
    xcb_free_gc(c, gc);
    return Sync(conn, error, "cannot draw the wallpaper");
}

bool OpenWithPlainPixels(Connection& conn, std::string* error)
{
    if (!conn.ok()) {
        ReportError(error, conn.error());
        return false;
    }
    const auto layout = RootPixelLayout(conn, error);
    if (!layout)
        return false;
    if (layout->bitsPerPixel != 32 || !layout->copiesStraight) {
        ReportError(error, "the display's pixel format takes no wallpaper of ours");
        return false;
    }
    return true;
}

} // namespace

std::optional<std::pair<int, int>> RootSize(std::string* error)
{
    const Connection conn;
    const auto rect = CurrentScreenRect(conn, error);
    if (!conn.ok())
        ReportError(error, conn.error());
    if (!rect)
        return std::nullopt;
    return std::pair(rect->width, rect->height);
}

bool SetRootPicture(const Bitmap& picture, std::string* error)
{
    Connection conn;
    if (!OpenWithPlainPixels(conn, error))
        return false;
    if (!picture.holdsAllPixels() || picture.width > 0xFFFF || picture.height > 0xFFFF) {
        ReportError(error, "no picture for the wallpaper");
        return false;
    }
    xcb_connection_t* c = conn.get();
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    if (!Checked(conn,
                 xcb_create_pixmap_checked(c, conn.screen()->root_depth, pixmap, conn.root(), uint16_t(picture.width),
                                           uint16_t(picture.height)),
                 error, "no room for the wallpaper on the display"))
        return false;
    if (!PutPicture(conn, pixmap, picture, error)) {
        xcb_free_pixmap(c, pixmap);
        return false;
    }
    const xcb_pixmap_t kept = KeptPixmap(conn);
    xcb_change_window_attributes(c, conn.root(), XCB_CW_BACK_PIXMAP, &pixmap);
    xcb_clear_area(c, 0, conn.root(), 0, 0, 0, 0);
    for (const char* name : kRootPixmapAtoms)
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, conn.root(), Atom(conn, name), XCB_ATOM_PIXMAP, 32, 1, &pixmap);
    xcb_set_close_down_mode(c, XCB_CLOSE_DOWN_RETAIN_PERMANENT);
    if (!Sync(conn, error, "cannot set the wallpaper"))
        return false;
    FreeKeptPixmap(conn, kept);
    return true;
}

bool SetRootColor(uint32_t argb, std::string* error)
{
    Connection conn;
    if (!OpenWithPlainPixels(conn, error))
        return false;
    xcb_connection_t* c = conn.get();
    const xcb_pixmap_t kept = KeptPixmap(conn);
    const uint32_t pixel = argb & 0x00FFFFFFu;
    xcb_change_window_attributes(c, conn.root(), XCB_CW_BACK_PIXEL, &pixel);
    xcb_clear_area(c, 0, conn.root(), 0, 0, 0, 0);
    for (const char* name : kRootPixmapAtoms)
        xcb_delete_property(c, conn.root(), Atom(conn, name));
    if (!Sync(conn, error, "cannot set the background colour"))
        return false;
    FreeKeptPixmap(conn, kept);
    return true;
}

std::optional<Bitmap> ReadRootBackground(std::string* error)
{
    Connection conn;
    if (!OpenWithPlainPixels(conn, error))
        return std::nullopt;
    const auto rect = CurrentScreenRect(conn, error);
    if (!rect)
        return std::nullopt;
    xcb_connection_t* c = conn.get();
    const xcb_window_t cover = xcb_generate_id(c);
    const uint32_t values[] = {XCB_BACK_PIXMAP_PARENT_RELATIVE, 1};
    if (!Checked(conn,
                 xcb_create_window_checked(c, XCB_COPY_FROM_PARENT, cover, conn.root(), 0, 0, uint16_t(rect->width),
                                           uint16_t(rect->height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                                           XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXMAP | XCB_CW_OVERRIDE_REDIRECT, values),
                 error, "cannot read the background"))
        return std::nullopt;
    xcb_map_window(c, cover);
    std::optional<Bitmap> shown;
    if (Sync(conn, error, "cannot read the background"))
        shown = GrabScreen(conn, error);
    xcb_destroy_window(c, cover);
    Sync(conn, nullptr, "");
    return shown;
}

} // namespace vistrel::x11
