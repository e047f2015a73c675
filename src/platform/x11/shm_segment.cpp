#include "platform/x11/shm_segment.h"

#include "platform/x11/x11_error.h"

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

PrivateSegment::PrivateSegment(size_t bytes, std::string* problem)
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

PrivateSegment::~PrivateSegment()
{
    if (m_address)
        shmdt(m_address);
}

ServerAttachment::ServerAttachment(xcb_connection_t* conn, const PrivateSegment& segment, std::string* problem)
    : m_conn(conn)
{
    const uint32_t id = xcb_generate_id(conn);
    if (id == uint32_t(-1)) {
        ReportError(problem, "no X resource id left");
        return;
    }
    Reply<xcb_generic_error_t> failure(
        xcb_request_check(conn, xcb_shm_attach_checked(conn, id, uint32_t(segment.id()), 0)));
    if (failure || xcb_connection_has_error(conn)) {
        ReportError(problem, "the X server cannot attach shared memory: " + DescribeXError(failure.get()));
        return;
    }
    m_segment = id;
}

ServerAttachment::~ServerAttachment()
{
    if (m_segment != XCB_NONE) {
        xcb_shm_detach(m_conn, m_segment);
        xcb_flush(m_conn);
    }
}

bool HasSharedMemory(xcb_connection_t* conn)
{
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(conn, &xcb_shm_id);
    return extension && extension->present;
}

} // namespace vistrel::x11
