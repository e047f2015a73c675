#include "platform/x11/shm_grab.h"

#include "platform/x11/x11_error.h"

#include <xcb/shm.h>

#include <sys/ipc.h>
#include <sys/mman.h>
#include <sys/shm.h>

#include <cerrno>
#include <cstring>

namespace vistrel::x11 {

namespace {
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
    const size_t bytes = rowBytes * size_t(source.height);
    if (rowBytes == 0 || bytes / rowBytes != size_t(source.height)) {
        ReportError(problem, "area too large for shared memory");
        return false;
    }
    PrivateSegment segment(bytes, problem);
    if (!segment.ok())
        return false;
    ServerAttachment attachment(c, segment, problem);
    if (!attachment.ok())
        return false;

    xcb_generic_error_t* rawError = nullptr;
    Reply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(
        c,
        xcb_shm_get_image(c, conn.root(), int16_t(source.x), int16_t(source.y),
                          uint16_t(source.width), uint16_t(source.height), ~0u,
                          XCB_IMAGE_FORMAT_Z_PIXMAP, attachment.id(), 0),
        &rawError));
    Reply<xcb_generic_error_t> failure(rawError);
    if (!reply || failure) {
        ReportError(problem, "shared-memory GetImage failed: " + DescribeXError(failure.get()));
        return false;
    }
    if (reply->size < bytes || reply->size > segment.size()) {
        ReportError(problem, "shared-memory GetImage returned " + std::to_string(reply->size) +
                                 " bytes, expected " + std::to_string(bytes));
        return false;
    }
    for (int row = 0; row < source.height; ++row) {
        layout.convertRow(segment.data() + size_t(row) * rowBytes, source.width,
                          target.row(targetY + row) + targetX);
    }
    return true;
}

} // namespace vistrel::x11
