#include "platform/x11/cursor_image.h"

#include "platform/x11/x11_error.h"

#include <xcb/xfixes.h>

#include <algorithm>

namespace vistrel::x11 {

uint32_t UnpremultiplyArgb(uint32_t premultiplied)
{
    const uint32_t alpha = premultiplied >> 24;
    if (alpha == 0)
        return 0;
    if (alpha == 0xFF)
        return premultiplied;
    const auto channel = [&](int shift) {
        const uint32_t value = (premultiplied >> shift) & 0xFF;
        return std::min<uint32_t>(255, (value * 255 + alpha / 2) / alpha) << shift;
    };
    return (alpha << 24) | channel(16) | channel(8) | channel(0);
}

std::optional<CursorImage> ReadCursorImage(const Connection& conn, std::string* error)
{
    if (!conn.ok()) {
        ReportError(error, "no X connection");
        return std::nullopt;
    }
    xcb_connection_t* c = conn.get();
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (!extension || !extension->present) {
        ReportError(error, "the X server has no XFIXES extension");
        return std::nullopt;
    }
    // XFixes answers nothing else until the client has stated its version.
    xcb_generic_error_t* rawError = nullptr;
    Reply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
        c, xcb_xfixes_query_version(c, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
        &rawError));
    Reply<xcb_generic_error_t> versionError(rawError);
    if (!version || versionError || version->major_version < 1) {
        ReportError(error, "the X server's XFIXES cannot report the cursor image");
        return std::nullopt;
    }
    rawError = nullptr;
    Reply<xcb_xfixes_get_cursor_image_reply_t> reply(
        xcb_xfixes_get_cursor_image_reply(c, xcb_xfixes_get_cursor_image(c), &rawError));
    Reply<xcb_generic_error_t> failure(rawError);
    if (!reply || failure) {
        ReportError(error, "reading the cursor image failed: " + DescribeXError(failure.get()));
        return std::nullopt;
    }
    const size_t pixelCount = size_t(reply->width) * size_t(reply->height);
    const int length = xcb_xfixes_get_cursor_image_cursor_image_length(reply.get());
    if (length < 0 || size_t(length) < pixelCount) {
        ReportError(error, "the X server sent a truncated cursor image");
        return std::nullopt;
    }
    CursorImage cursor;
    cursor.image = Bitmap(reply->width, reply->height);
    const uint32_t* source = xcb_xfixes_get_cursor_image_cursor_image(reply.get());
    std::transform(source, source + pixelCount, cursor.image.pixels.begin(), UnpremultiplyArgb);
    cursor.hotX = reply->xhot;
    cursor.hotY = reply->yhot;
    cursor.x = reply->x;
    cursor.y = reply->y;
    return cursor;
}

} // namespace vistrel::x11
