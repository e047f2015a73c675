#include "platform/posix/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

namespace {

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

// Removes the temporary file unless it was renamed into place.
class TempFileGuard {
public:
    explicit TempFileGuard(std::string path) : m_path(std::move(path)) {}
    ~TempFileGuard()
    {
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;
    void Release() { m_path.clear(); }

private:
    std::string m_path;
};

} // namespace

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

bool ReplaceFile(const std::string& path, const std::function<bool(int fd)>& write)
{
    if (path.empty())
        return false;
    // A link is followed, so the file it names is replaced and the link stays.
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (resolved) {
            target = resolved;
            std::free(resolved);
        }
    }
    const bool replacing = ::stat(target.c_str(), &st) == 0;
    if (replacing && !S_ISREG(st.st_mode))
        return false;

    std::random_device random;
    std::string tempPath;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".tmp-%08x", unsigned(random()));
        tempPath = target + suffix;
        fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    TempFileGuard guard(tempPath);
    Fd file(fd);
    if (replacing) // keep the permissions the user gave the file
        ::fchmod(file.get(), st.st_mode & 07777);
    bool ok = false;
    try {
        ok = write(file.get());
    } catch (const std::exception&) { // out of memory while encoding, say
        ok = false;
    }
    if (ok && replacing)
        ok = ::fsync(file.get()) == 0;
    ok = file.Close() && ok;
    if (!ok || ::rename(tempPath.c_str(), target.c_str()) != 0)
        return false;
    guard.Release();
    return true;
}

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes)
{
    return ReplaceFile(path, [&](int fd) { return WriteAllToFd(fd, bytes); });
}

} // namespace vistrel
