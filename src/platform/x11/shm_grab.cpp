#include "platform/x11/shm_grab.h"

#include "platform/x11/x11_error.h"

#include <algorithm>
#include <cstdlib>

namespace vistrel::x11 {

namespace {
// One band of the area; two such segments are in use at a time. Every first
// touch of a page costs the server a fault; a few hundred reused pages cost far
// less than a segment the size of the screen.
constexpr size_t kBandBytes = size_t(512) << 10;
} // namespace

ShmBands::ShmBands(const Connection& conn, const PixelLayout& layout, int width, std::string* problem)
    : m_conn(conn), m_layout(layout), m_width(width)
{
    xcb_connection_t* c = conn.get();
    if (!HasSharedMemory(c)) {
        ReportError(problem, "the X server has no MIT-SHM extension");
        return;
    }
    m_rowBytes = layout.rowBytes(width);
    if (m_rowBytes == 0 || m_rowBytes > kBandBytes * 4) {
        ReportError(problem, "area too wide for shared memory");
        return;
    }
    m_bandRows = int(std::max<size_t>(1, kBandBytes / m_rowBytes));
    m_bandBytes = m_rowBytes * size_t(m_bandRows);
    for (int i = 0; i < 2; ++i) {
        m_segments[i] = std::make_unique<PrivateSegment>(m_bandBytes, problem);
        if (!m_segments[i]->ok())
            return;
        m_attachments[i] = std::make_unique<ServerAttachment>(c, *m_segments[i], problem);
        if (!m_attachments[i]->ok())
            return;
    }
    m_ok = true;
}

bool ShmBands::Grab(const ScreenRect& source, Bitmap& target, std::string* problem)
{
    if (!m_ok || source.width != m_width || source.height <= 0) {
        ReportError(problem, "shared-memory bands of another width");
        return false;
    }
    xcb_connection_t* c = m_conn.get();
    auto request = [&](int band) {
        const int first = band * m_bandRows;
        const int rows = std::min(m_bandRows, source.height - first);
        return xcb_shm_get_image(c, m_conn.root(), int16_t(source.x), int16_t(source.y + first),
                                 uint16_t(source.width), uint16_t(rows), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP,
                                 m_attachments[band % 2]->id(), 0);
    };
    const int bands = (source.height + m_bandRows - 1) / m_bandRows;
    xcb_shm_get_image_cookie_t pending = request(0);
    for (int band = 0; band < bands; ++band) {
        const xcb_shm_get_image_cookie_t current = pending;
        if (band + 1 < bands)
            pending = request(band + 1);
        xcb_generic_error_t* rawError = nullptr;
        Reply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(c, current, &rawError));
        Reply<xcb_generic_error_t> failure(rawError);
        const int first = band * m_bandRows;
        const int rows = std::min(m_bandRows, source.height - first);
        if (!reply || failure) {
            if (band + 1 < bands) // collect the request still in flight
                std::free(xcb_shm_get_image_reply(c, pending, nullptr));
            ReportError(problem, "shared-memory GetImage failed: " + DescribeXError(failure.get()));
            return false;
        }
        if (reply->size < m_rowBytes * size_t(rows) || reply->size > m_bandBytes) {
            if (band + 1 < bands)
                std::free(xcb_shm_get_image_reply(c, pending, nullptr));
            ReportError(problem, "shared-memory GetImage returned " + std::to_string(reply->size) +
                                     " bytes, expected " + std::to_string(m_rowBytes * size_t(rows)));
            return false;
        }
        const uint8_t* data = m_segments[band % 2]->data();
        for (int row = 0; row < rows; ++row)
            m_layout.convertRow(data + size_t(row) * m_rowBytes, source.width, target.row(first + row));
    }
    return true;
}

bool GrabWithSharedMemory(const Connection& conn, const ScreenRect& source,
                          const PixelLayout& layout, Bitmap& target, std::string* problem)
{
    ShmBands bands(conn, layout, source.width, problem);
    return bands.ok() && bands.Grab(source, target, problem);
}

} // namespace vistrel::x11
