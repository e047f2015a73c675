#include "codec/file_io.h"

#include "base/atomic_file.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

std::optional<std::vector<uint8_t>> ReadWholeFile(const char* path, uint64_t maxBytes)
{
    const int raw = ::open(path, O_RDONLY | O_CLOEXEC);
    if (raw < 0)
        return std::nullopt;
    std::unique_ptr<const int, void (*)(const int*)> fd(&raw, [](const int* f) { ::close(*f); });
    struct stat st {};
    if (::fstat(*fd, &st) != 0)
        return std::nullopt;
    if (!S_ISREG(st.st_mode) || st.st_size < 0 || uint64_t(st.st_size) > maxBytes) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : S_ISREG(st.st_mode) ? EFBIG : EINVAL;
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(size_t(st.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(*fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) { // an error, or the file shrank while we read it
            if (n == 0)
                errno = EIO;
            return std::nullopt;
        }
        done += size_t(n);
    }
    return bytes;
}

bool WriteToFd(int fd, const std::function<bool(ByteSink&)>& write)
{
    FdSink sink(fd);
    return write(sink) && sink.Flush();
}

bool WriteThroughSink(const std::string& path, const std::function<bool(ByteSink&)>& write)
{
    return ReplaceFile(path, [&](int fd) { return WriteToFd(fd, write); });
}

} // namespace vistrel
