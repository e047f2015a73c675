#include "platform/x11/screen_grab.h"

#include "platform/x11/pixel_layout.h"
#include "platform/x11/shm_grab.h"
#include "platform/x11/x11_error.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string_view>

namespace vistrel::x11 {

namespace {

// Strips stay this small even when the server would take more, so the fallback's
// extra memory is two strips in flight, not a second copy of the screen.
constexpr size_t kStripBudgetBytes = size_t(1) << 20;

bool SharedMemoryDisabledByEnvironment()
{
    const char* value = std::getenv("VISTREL_NO_SHM");
    return value && *value && std::string_view(value) != "0";
}

xcb_get_image_cookie_t RequestStrip(xcb_connection_t* c, xcb_window_t root,
                                    const ScreenRect& source, int firstRow, int rows)
{
    return xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, int16_t(source.x),
                         int16_t(source.y + firstRow), uint16_t(source.width), uint16_t(rows),
                         ~0u);
}

bool GrabInStrips(const Connection& conn, const ScreenRect& source, const PixelLayout& layout,
                  Bitmap& target, std::string* error)
{
    xcb_connection_t* c = conn.get();
    const size_t rowBytes = layout.rowBytes(source.width);
    // The request limit bounds what a server will handle in one go; stay below it too.
    const size_t requestLimitBytes = size_t(xcb_get_maximum_request_length(c)) * 4;
    const size_t budget = std::min(kStripBudgetBytes, requestLimitBytes);
    const int rowsPerStrip =
        int(std::clamp<size_t>(rowBytes ? budget / rowBytes : 1, 1, size_t(source.height)));

    // One request stays in flight while the previous reply is converted.
    xcb_get_image_cookie_t pending = RequestStrip(c, conn.root(), source, 0, rowsPerStrip);
    for (int firstRow = 0; firstRow < source.height; firstRow += rowsPerStrip) {
        const int rows = std::min(rowsPerStrip, source.height - firstRow);
        const xcb_get_image_cookie_t current = pending;
        const int nextRow = firstRow + rows;
        const bool more = nextRow < source.height;
        if (more) {
            pending = RequestStrip(c, conn.root(), source, nextRow,
                                   std::min(rowsPerStrip, source.height - nextRow));
        }
        xcb_generic_error_t* rawError = nullptr;
        Reply<xcb_get_image_reply_t> reply(xcb_get_image_reply(c, current, &rawError));
        Reply<xcb_generic_error_t> failure(rawError);
        const size_t needed = rowBytes * size_t(rows);
        std::string problem;
        if (!reply || failure)
            problem = "GetImage failed: " + DescribeXError(failure.get());
        else if (size_t(xcb_get_image_data_length(reply.get())) < needed)
            problem = "GetImage returned less data than the area needs";
        if (!problem.empty()) {
            if (more)
                xcb_discard_reply(c, pending.sequence);
            ReportError(error, std::move(problem));
            return false;
        }
        const uint8_t* data = xcb_get_image_data(reply.get());
        for (int row = 0; row < rows; ++row) {
            layout.convertRow(data + size_t(row) * rowBytes, source.width,
                              target.row(firstRow + row));
        }
    }
    return true;
}

} // namespace

std::optional<Bitmap> GrabArea(const Connection& conn, const ScreenRect& area,
                               std::string* error, const GrabOptions& options,
                               GrabOutcome* outcome)
{
    if (!conn.ok()) {
        ReportError(error, "no X connection");
        return std::nullopt;
    }
    const std::optional<PixelLayout> layout = RootPixelLayout(conn, error);
    if (!layout)
        return std::nullopt;
    // Cut to the screen before anything is allocated: only what it shows is read.
    const std::optional<ScreenRect> screen = CurrentScreenRect(conn, error);
    if (!screen)
        return std::nullopt;
    const auto visible = VisibleOnScreen(area, *screen);
    if (const auto* problem = std::get_if<CaptureAreaError>(&visible)) {
        ReportError(error, "cannot grab an area of " + std::to_string(area.width) + " x " +
                               std::to_string(area.height) + " pixels at (" +
                               std::to_string(area.x) + ", " + std::to_string(area.y) +
                               "): " + DescribeAreaError(*problem));
        return std::nullopt;
    }
    const ScreenRect& source = std::get<ScreenRect>(visible);

    std::optional<Bitmap> result;
    try {
        result.emplace(source.width, source.height);
    } catch (const std::bad_alloc&) {
        ReportError(error, "not enough memory for a grab of " + std::to_string(source.width) +
                               " x " + std::to_string(source.height) + " pixels");
        return std::nullopt;
    }
    GrabOutcome local;
    GrabOutcome& report = outcome ? *outcome : local;
    report = {};

    if (!options.allowSharedMemory)
        report.sharedMemoryProblem = "shared memory not allowed by the caller";
    else if (SharedMemoryDisabledByEnvironment())
        report.sharedMemoryProblem = "shared memory turned off by VISTREL_NO_SHM";
    else if (GrabWithSharedMemory(conn, source, *layout, *result, &report.sharedMemoryProblem)) {
        report.method = GrabMethod::SharedMemory;
        return result;
    }
    report.method = GrabMethod::Strips;
    if (!GrabInStrips(conn, source, *layout, *result, error))
        return std::nullopt;
    return result;
}

std::variant<ScreenRect, CaptureAreaError> VisibleOnScreen(const ScreenRect& area, const ScreenRect& screen)
{
    const auto visible = VisiblePart(area.x, area.y, area.width, area.height,
                                     {screen.x, screen.y, screen.x + screen.width, screen.y + screen.height});
    if (const auto* problem = std::get_if<CaptureAreaError>(&visible))
        return *problem;
    const Rect& part = std::get<Rect>(visible);
    return ScreenRect{part.left, part.top, part.width(), part.height()};
}

std::optional<ScreenRect> CurrentScreenRect(const Connection& conn, std::string* error)
{
    if (!conn.ok()) {
        ReportError(error, "no X connection");
        return std::nullopt;
    }
    xcb_generic_error_t* rawError = nullptr;
    Reply<xcb_get_geometry_reply_t> root(xcb_get_geometry_reply(
        conn.get(), xcb_get_geometry(conn.get(), conn.root()), &rawError));
    Reply<xcb_generic_error_t> failure(rawError);
    if (!root || failure) {
        ReportError(error, "cannot read the screen size: " + DescribeXError(failure.get()));
        return std::nullopt;
    }
    return ScreenRect{0, 0, root->width, root->height};
}

std::optional<Bitmap> GrabScreen(const Connection& conn, std::string* error)
{
    if (!conn.ok()) {
        ReportError(error, "no X connection");
        return std::nullopt;
    }
    const std::optional<ScreenRect> screen = CurrentScreenRect(conn, error);
    if (!screen)
        return std::nullopt;
    return GrabArea(conn, *screen, error);
}

} // namespace vistrel::x11
