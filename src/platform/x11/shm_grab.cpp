#include "platform/x11/shm_grab.h"

#include "platform/x11/x11_error.h"

#include <xcb/shm.h>

#include <sys/ipc.h>
#include <sys/mman.h>
#include <sys/shm.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vistrel::x11 {

namespace {
// One band of the area; two such segments are in use at a time.
constexpr size_t kBandBytes = size_t(512) << 10;
#ifdef MADV_POPULATE_WRITE
constexpr int kPopulateWrite = MADV_POPULATE_WRITE;
#else
constexpr int kPopulateWrite = 23; // Linux 5.14 and later
#endif
} // namespace

namespace {

// A System V segment attached in this process.
class PrivateSegment {
public:
    PrivateSegment(size_t bytes, std::string* problem)
    {
        m_id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
        if (m_id < 0) {
            ReportError(problem, std::string("shmget failed: ") + std::strerror(errno));
            return;
        }
        void* address = shmat(m_id, nullptr, 0);
        // Linux lets the server attach a segment already marked for removal; marking
        // it now means no path out of here can leave it behind.
        shmctl(m_id, IPC_RMID, nullptr);
        if (address == reinterpret_cast<void*>(-1)) {
            ReportError(problem, std::string("shmat failed: ") + std::strerror(errno));
            return;
        }
        // Fill in our side of the mapping in one call: taking the pages one fault at
        // a time while copying out costs more than the grab itself on machines
        // where a fault is dear (virtual machines). Older kernels refuse; harmless.
        madvise(address, bytes, kPopulateWrite);
        m_address = static_cast<const uint8_t*>(address);
        m_size = bytes;
    }
    ~PrivateSegment()
    {
        if (m_address)
            shmdt(m_address);
    }
    PrivateSegment(const PrivateSegment&) = delete;
    PrivateSegment& operator=(const PrivateSegment&) = delete;

    bool ok() const { return m_address != nullptr; }
    int id() const { return m_id; }
    const uint8_t* data() const { return m_address; }
    size_t size() const { return m_size; }

private:
    int m_id = -1;
    const uint8_t* m_address = nullptr;
    size_t m_size = 0;
};

// The server's attachment of a segment, detached when this goes.
class ServerAttachment {
public:
    ServerAttachment(xcb_connection_t* conn, const PrivateSegment& segment, std::string* problem)
        : m_conn(conn)
    {
        const uint32_t id = xcb_generate_id(conn);
        if (id == uint32_t(-1)) {
            ReportError(problem, "no X resource id left");
            return;
        }
        Reply<xcb_generic_error_t> failure(xcb_request_check(
            conn, xcb_shm_attach_checked(conn, id, uint32_t(segment.id()), 0)));
        if (failure || xcb_connection_has_error(conn)) {
            ReportError(problem, "the X server cannot attach shared memory: " +
                                     DescribeXError(failure.get()));
            return;
        }
        m_segment = id;
    }
    ~ServerAttachment()
    {
        if (m_segment != XCB_NONE) {
            xcb_shm_detach(m_conn, m_segment);
            xcb_flush(m_conn);
        }
    }
    ServerAttachment(const ServerAttachment&) = delete;
    ServerAttachment& operator=(const ServerAttachment&) = delete;

    bool ok() const { return m_segment != XCB_NONE; }
    xcb_shm_seg_t id() const { return m_segment; }

private:
    xcb_connection_t* m_conn;
    xcb_shm_seg_t m_segment = XCB_NONE;
};

} // namespace

bool GrabWithSharedMemory(const Connection& conn, const ScreenRect& source,
                          const PixelLayout& layout, Bitmap& target, int targetX, int targetY,
                          std::string* problem)
{
    xcb_connection_t* c = conn.get();
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_shm_id);
    if (!extension || !extension->present) {
        ReportError(problem, "the X server has no MIT-SHM extension");
        return false;
    }
    const size_t rowBytes = layout.rowBytes(source.width);
    if (rowBytes == 0 || rowBytes > kBandBytes * 4) {
        ReportError(problem, "area too wide for shared memory");
        return false;
    }
    // The area comes in bands through two small segments, one filled by the
    // server while the other is copied out. Every first touch of a page costs
    // the server a fault; a few hundred reused pages cost far less than a
    // segment the size of the screen.
    const int bandRows = int(std::max<size_t>(1, kBandBytes / rowBytes));
    const size_t bandBytes = rowBytes * size_t(bandRows);
    PrivateSegment segments[2] = {PrivateSegment(bandBytes, problem), PrivateSegment(bandBytes, problem)};
    if (!segments[0].ok() || !segments[1].ok())
        return false;
    ServerAttachment attachments[2] = {ServerAttachment(c, segments[0], problem),
                                       ServerAttachment(c, segments[1], problem)};
    if (!attachments[0].ok() || !attachments[1].ok())
        return false;

    auto request = [&](int band) {
        const int first = band * bandRows;
        const int rows = std::min(bandRows, source.height - first);
        return xcb_shm_get_image(c, conn.root(), int16_t(source.x), int16_t(source.y + first),
                                 uint16_t(source.width), uint16_t(rows), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP,
                                 attachments[band % 2].id(), 0);
    };
    const int bands = (source.height + bandRows - 1) / bandRows;
    xcb_shm_get_image_cookie_t pending = request(0);
    for (int band = 0; band < bands; ++band) {
        const xcb_shm_get_image_cookie_t current = pending;
        if (band + 1 < bands)
            pending = request(band + 1);
        xcb_generic_error_t* rawError = nullptr;
        Reply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(c, current, &rawError));
        Reply<xcb_generic_error_t> failure(rawError);
        const int first = band * bandRows;
        const int rows = std::min(bandRows, source.height - first);
        if (!reply || failure) {
            if (band + 1 < bands) // collect the request still in flight
                std::free(xcb_shm_get_image_reply(c, pending, nullptr));
            ReportError(problem, "shared-memory GetImage failed: " + DescribeXError(failure.get()));
            return false;
        }
        if (reply->size < rowBytes * size_t(rows) || reply->size > bandBytes) {
            if (band + 1 < bands)
                std::free(xcb_shm_get_image_reply(c, pending, nullptr));
            ReportError(problem, "shared-memory GetImage returned " + std::to_string(reply->size) +
                                     " bytes, expected " + std::to_string(rowBytes * size_t(rows)));
            return false;
        }
        const uint8_t* data = segments[band % 2].data();
        for (int row = 0; row < rows; ++row)
            layout.convertRow(data + size_t(row) * rowBytes, source.width,
                              target.row(targetY + first + row) + targetX);
    }
    return true;
}

} // namespace vistrel::x11
