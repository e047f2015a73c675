#include "icons/core/byte_source.h"

#include "base/unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace vistrel {

namespace {

class FileSource final : public ByteSource {
public:
    FileSource(UniqueFd fd, uint64_t size) : m_fd(std::move(fd)), m_size(size) {}

    uint64_t Size() const override { return m_size; }
    bool ReadAt(uint64_t offset, std::span<uint8_t> out) const override
    {
        if (!Has(offset, out.size()))
            return false;
        size_t done = 0;
        while (done < out.size()) {
            const ssize_t n = ::pread(m_fd.get(), out.data() + done, out.size() - done, off_t(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false; // an error, or the file shrank since it was opened
            done += size_t(n);
        }
        return true;
    }

private:
    UniqueFd m_fd;
    uint64_t m_size;
};

class SpanSource final : public ByteSource {
public:
    explicit SpanSource(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    uint64_t Size() const override { return m_bytes.size(); }
    bool ReadAt(uint64_t offset, std::span<uint8_t> out) const override
    {
        if (!Has(offset, out.size()))
            return false;
        std::copy_n(m_bytes.begin() + ptrdiff_t(offset), out.size(), out.begin());
        return true;
    }

private:
    std::span<const uint8_t> m_bytes;
};

} // namespace

std::optional<std::vector<uint8_t>> ByteSource::Read(uint64_t offset, uint64_t length) const
{
    if (!Has(offset, length))
        return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    if (!ReadAt(offset, bytes))
        return std::nullopt;
    return bytes;
}

std::unique_ptr<ByteSource> OpenFileSource(const std::string& path)
{
    // O_NONBLOCK: opening a pipe that happens to be called "x.dll" must not hang.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0)
        return nullptr;
    if (!S_ISREG(st.st_mode) || st.st_size < 0) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return nullptr;
    }
    return std::make_unique<FileSource>(std::move(fd), uint64_t(st.st_size));
}

std::unique_ptr<ByteSource> MemorySource(std::span<const uint8_t> bytes)
{
    return std::make_unique<SpanSource>(bytes);
}

} // namespace vistrel
