#pragma once
// A private System V shared-memory segment (mode 0600, marked for removal as
// soon as we have attached it, so the kernel frees it when the last attachment
// goes, even if this process dies) and the X server's attachment of it.

#include "platform/x11/x11_connection.h"

#include <xcb/shm.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace vistrel::x11 {

class PrivateSegment {
public:
    PrivateSegment(size_t bytes, std::string* problem);
    ~PrivateSegment();
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
    ServerAttachment(xcb_connection_t* conn, const PrivateSegment& segment, std::string* problem);
    ~ServerAttachment();
    ServerAttachment(const ServerAttachment&) = delete;
    ServerAttachment& operator=(const ServerAttachment&) = delete;

    bool ok() const { return m_segment != XCB_NONE; }
    xcb_shm_seg_t id() const { return m_segment; }

private:
    xcb_connection_t* m_conn;
    xcb_shm_seg_t m_segment = XCB_NONE;
};

// Whether the server has MIT-SHM.
bool HasSharedMemory(xcb_connection_t* conn);

} // namespace vistrel::x11
