#pragma once
// Where encoders put their bytes: a growing buffer, or a file descriptor through
// a small buffer of its own. A sink that failed once stays failed.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vistrel {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool Write(const void* data, size_t size) = 0;
    bool Put8(uint8_t v) { return Write(&v, 1); }
    bool Put16LE(uint16_t v);
    bool Put32LE(uint32_t v);
    bool Put32BE(uint32_t v);
};

// For callbacks from C libraries (libjpeg, libtiff, giflib), which an exception
// must not cross: a sink that throws (out of memory growing a buffer, say)
// counts as a failed write.
bool WriteNoThrow(ByteSink& sink, const void* data, size_t size) noexcept;

class VectorSink final : public ByteSink {
public:
    bool Write(const void* data, size_t size) override;
    std::vector<uint8_t>& bytes() { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

// Writes to an open descriptor; Flush() must succeed before the data counts as written.
class FdSink final : public ByteSink {
public:
    explicit FdSink(int fd) : m_fd(fd) {}
    bool Write(const void* data, size_t size) override;
    bool Flush();

private:
    bool WriteAll(const uint8_t* data, size_t size);

    int m_fd;
    bool m_failed = false;
    std::vector<uint8_t> m_buffer;
};

} // namespace vistrel
