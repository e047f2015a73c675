#include "codec/byte_sink.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace vistrel {

bool ByteSink::Put16LE(uint16_t v)
{
    const uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
    return Write(b, 2);
}

bool ByteSink::Put32LE(uint32_t v)
{
    const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    return Write(b, 4);
}

bool ByteSink::Put32BE(uint32_t v)
{
    const uint8_t b[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    return Write(b, 4);
}

bool WriteNoThrow(ByteSink& sink, const void* data, size_t size) noexcept
{
    try {
        return sink.Write(data, size);
    } catch (...) {
        return false;
    }
}

bool VectorSink::Write(const void* data, size_t size)
{
    const auto* p = static_cast<const uint8_t*>(data);
    m_bytes.insert(m_bytes.end(), p, p + size);
    return true;
}

namespace {
constexpr size_t kFdBufferSize = size_t(1) << 16;
}

bool FdSink::WriteAll(const uint8_t* data, size_t size)
{
    while (size > 0 && !m_failed) {
        ssize_t n = ::write(m_fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_failed = true;
            break;
        }
        data += n;
        size -= size_t(n);
    }
    return !m_failed;
}

bool FdSink::Write(const void* data, size_t size)
{
    if (m_failed)
        return false;
    const auto* p = static_cast<const uint8_t*>(data);
    if (m_buffer.size() + size <= kFdBufferSize) {
        m_buffer.insert(m_buffer.end(), p, p + size);
        return true;
    }
    if (!Flush())
        return false;
    if (size >= kFdBufferSize)
        return WriteAll(p, size);
    m_buffer.assign(p, p + size);
    return true;
}

bool FdSink::Flush()
{
    if (!m_buffer.empty() && !m_failed) {
        WriteAll(m_buffer.data(), m_buffer.size());
        m_buffer.clear();
    }
    return !m_failed;
}

} // namespace vistrel
