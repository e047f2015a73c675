#include "base/fd_io.h"

#include <cerrno>
#include <exception>
#include <unistd.h>

namespace vistrel {

bool WriteAllToFd(int fd, std::span<const uint8_t> bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

bool RunFdWriter(const std::function<bool(int fd)>& write, int fd)
{
    try {
        return write(fd);
    } catch (const std::exception&) {
        return false;
    }
}

bool CopyFdContent(int from, int to)
{
    uint8_t buffer[1 << 16];
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(from, buffer, sizeof buffer, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (!WriteAllToFd(to, {buffer, size_t(n)}))
            return false;
        offset += n;
    }
}

} // namespace vistrel
