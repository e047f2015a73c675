#include "platform/posix/keep_copy.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

namespace {

// Enough for any real run of damaged files; past it something else is wrong.
constexpr int kMaxNames = 1000;

class OwnedFd {
public:
    explicit OwnedFd(int fd) : m_fd(fd) {}
    ~OwnedFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OwnedFd(const OwnedFd&) = delete;
    OwnedFd& operator=(const OwnedFd&) = delete;
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

// Errors by which a file system says it has no hard links for this file; a copy
// does the same job there.
bool LinkRefused(int error)
{
    return error == EPERM || error == EXDEV || error == EMLINK || error == ENOTSUP ||
           error == EOPNOTSUPP;
}

enum class CopyOutcome { Copied, NameTaken, Failed };

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

bool CopyBytes(int from, int to)
{
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (!WriteAll(to, buffer, size_t(n)))
            return false;
    }
}

CopyOutcome CopyExclusively(const std::string& from, const std::string& to)
{
    // Non-blocking, so that a FIFO put in the file's place cannot stall us.
    OwnedFd source(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (source.get() < 0 || ::fstat(source.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return CopyOutcome::Failed;
    OwnedFd target(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777));
    if (target.get() < 0)
        return errno == EEXIST ? CopyOutcome::NameTaken : CopyOutcome::Failed;
    // The copy must be on disk before the original may be replaced.
    bool ok = CopyBytes(source.get(), target.get()) && ::fsync(target.get()) == 0;
    ok = target.Close() && ok;
    if (!ok) {
        ::unlink(to.c_str()); // ours: made above with O_EXCL
        return CopyOutcome::Failed;
    }
    return CopyOutcome::Copied;
}

} // namespace

int LinkFollowingSymlinks(const char* from, const char* to)
{
    return ::linkat(AT_FDCWD, from, AT_FDCWD, to, AT_SYMLINK_FOLLOW);
}

std::optional<std::string> KeepUnderNewName(const std::string& path, const std::string& stem,
                                            LinkFunction linkFile)
{
    for (int k = 0; k < kMaxNames; ++k) {
        const std::string name = k == 0 ? stem : stem + "." + std::to_string(k);
        if (linkFile(path.c_str(), name.c_str()) == 0)
            return name;
        const int error = errno;
        if (error == EEXIST)
            continue;
        struct stat st {};
        if (error == ENOENT && ::stat(path.c_str(), &st) != 0 && errno == ENOENT)
            return std::string(); // gone: nothing left to keep
        if (!LinkRefused(error))
            return std::nullopt;
        switch (CopyExclusively(path, name)) {
        case CopyOutcome::Copied: return name;
        case CopyOutcome::NameTaken: continue;
        case CopyOutcome::Failed: return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace vistrel
