#include "base/unnamed_file.h"

#include "base/fd_io.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace vistrel {

UniqueFd OpenUnnamedFile(const std::string& folder)
{
#ifdef O_TMPFILE
    return UniqueFd(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
#else
    (void)folder;
    errno = EOPNOTSUPP;
    return UniqueFd();
#endif
}

bool UnnamedFilesUnsupported(int error)
{
    // EISDIR: a kernel that does not know O_TMPFILE takes it for O_DIRECTORY.
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

namespace {

int LinkUnnamedFile(int fd, const std::string& path)
{
    char procPath[64];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd);
    if (::linkat(AT_FDCWD, procPath, AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    int error = errno;
    if (error == ENOENT && ::access("/proc/self/fd", F_OK) != 0) {
        // No /proc: the direct form, which needs a capability most users lack.
        if (::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0)
            return 0;
        error = errno == ENOENT ? EPERM : errno;
    }
    return error;
}

} // namespace

bool HardLinkRefused(int error)
{
    return error == EPERM || error == EXDEV || error == EMLINK || error == ENOTSUP || error == EOPNOTSUPP;
}

int NameUnnamedFile(int fd, const std::string& path)
{
    const int error = LinkUnnamedFile(fd, path);
    if (!HardLinkRefused(error))
        return error;
    UniqueFd copy(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
    if (!copy)
        return errno;
    errno = 0;
    if (!CopyFdContent(fd, copy.get()) || !copy.Close()) {
        const int copyError = errno != 0 ? errno : EIO;
        ::unlink(path.c_str());
        return copyError;
    }
    return 0;
}

} // namespace vistrel
