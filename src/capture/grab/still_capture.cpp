#include "capture/grab/still_capture.h"

#include "capture/core/cursor_overlay.h"
#include "capture/core/shaped_bitmap.h"
#include "platform/x11/cursor_image.h"
#include "platform/x11/screen_grab.h"
#include "platform/x11/window_at_pointer.h"
#include "platform/x11/x11_connection.h"
#include "settings/env.h"

#include <optional>

namespace vistrel {

namespace {

StillCaptureResult Failed(int status, std::string error)
{
    return {status, {}, std::move(error)};
}

StillGrab NoGrab(int status, std::string error)
{
    return {status, std::nullopt, std::move(error)};
}

std::optional<CursorImage> CursorIfWanted(const x11::Connection& conn, bool wanted)
{
    if (!wanted)
        return std::nullopt;
    // No XFixes: the capture goes on without the cursor.
    return x11::ReadCursorImage(conn);
}

StillCaptureResult Save(CEnv& env, Bitmap bitmap, std::vector<std::string>& list)
{
    SavedCapture saved = SaveCapture(env, std::move(bitmap), kCaptureBitsPerPixel, list);
    if (saved.path.empty())
        return Failed(1, saved.error);
    // The file is there; a number that could not be stored is still a failure
    // to report, as a later run may try the same name again (and move on).
    return {saved.settingsSaved ? 0 : 1, saved.path, saved.error};
}

} // namespace

std::optional<Bitmap> GrabWindowBitmap(const x11::Connection& conn, const x11::WindowArea& window,
                                      std::string* error)
{
    if (window.visible.empty()) {
        if (error)
            *error = "the window is not visible";
        return std::nullopt;
    }
    return x11::GrabArea(conn, window.visible, error);
}

StillGrab GrabScreenArea(const x11::Connection& conn, int x, int y, int width, int height, bool showMouse)
{
    std::string error;
    const auto screen = x11::CurrentScreenRect(conn, &error);
    if (!screen)
        return NoGrab(1, error);
    // Checked before the grab, so a refused area uses up no number.
    const auto visible = x11::VisibleOnScreen({x, y, width, height}, *screen);
    if (const auto* problem = std::get_if<CaptureAreaError>(&visible))
        return NoGrab(2, DescribeAreaError(*problem));
    // On the screen, so the bitmap starts at the part's corner.
    const x11::ScreenRect& part = std::get<x11::ScreenRect>(visible);
    auto bitmap = x11::GrabArea(conn, part, &error);
    if (!bitmap)
        return NoGrab(1, "cannot grab the screen: " + error);
    if (auto cursor = CursorIfWanted(conn, showMouse))
        DrawCursor(*bitmap, *cursor, part.x, part.y);
    return {0, std::move(*bitmap), {}};
}

StillGrab GrabStill(const CaptureRequest& request, const CEnv& env)
{
    x11::Connection conn;
    if (!conn.ok())
        return NoGrab(1, conn.error());

    if (request.kind == CaptureKind::Area)
        return GrabScreenArea(conn, request.points[0].x, request.points[0].y, request.points[1].x,
                              request.points[1].y, request.includeCursor);
    if (request.kind == CaptureKind::Window) {
        std::string error;
        auto window = x11::WindowAtPointer(conn, &error);
        if (!window)
            return NoGrab(1, "no window under the pointer: " + error);
        if (window->visible.empty())
            return NoGrab(1, "the window under the pointer is not visible");
        auto bitmap = GrabWindowBitmap(conn, *window, &error);
        if (!bitmap)
            return NoGrab(1, "cannot grab the window: " + error);
        return {0, std::move(*bitmap), {}};
    }

    // Checked before the grab, so a refused shape uses up no number.
    CaptureAreaResult area = AreaForRequest(request, conn.width(), conn.height());
    if (auto* problem = std::get_if<CaptureAreaError>(&area))
        return NoGrab(2, DescribeAreaError(*problem));

    std::string error;
    auto frozen = x11::GrabScreen(conn, &error);
    if (!frozen)
        return NoGrab(1, "cannot grab the screen: " + error);
    // Only a full-screen capture shows the cursor.
    auto cursor = CursorIfWanted(conn, request.kind == CaptureKind::FullScreen && request.includeCursor);
    Bitmap shaped = BuildShapedBitmap(std::move(*frozen), std::get<CaptureArea>(area),
                                      ArgbFromColorRef(env.m_crBitmapBack), cursor ? &*cursor : nullptr);
    return {0, std::move(shaped), {}};
}

StillCaptureResult CaptureScreenArea(const x11::Connection& conn, int x, int y, int width, int height,
                                     bool showMouse, CEnv& env, std::vector<std::string>& bitmapList)
{
    StillGrab grab = GrabScreenArea(conn, x, y, width, height, showMouse);
    if (!grab.bitmap)
        return Failed(grab.status, grab.error);
    return Save(env, std::move(*grab.bitmap), bitmapList);
}

StillCaptureResult RunStillCapture(const CaptureRequest& request, CEnv& env,
                                   std::vector<std::string>& bitmapList)
{
    StillGrab grab = GrabStill(request, env);
    if (!grab.bitmap)
        return Failed(grab.status, grab.error);
    return Save(env, std::move(*grab.bitmap), bitmapList);
}

} // namespace vistrel
