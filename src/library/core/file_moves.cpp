#include "library/core/file_moves.h"

#include "base/atomic_file.h"
#include "base/fd_io.h"
#include "base/new_file.h"
#include "base/unique_fd.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

namespace {

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace

int RenameNoReplace(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    if (link(from.c_str(), to.c_str()) != 0)
        return errno;
    if (unlink(from.c_str()) != 0) {
        const int error = errno;
        unlink(to.c_str());
        return error;
    }
    return 0;
}

int MoveNoReplace(const std::string& from, const std::string& to)
{
    const int error = RenameNoReplace(from, to);
    if (error != EXDEV)
        return error;
    UniqueFd in(open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in)
        return errno;
    UniqueFd out(CreateFileExclusively(to));
    if (!out)
        return errno;
    if (!CopyFdContent(in.get(), out.get()) || fsync(out.get()) != 0) {
        const int failed = errno ? errno : EIO;
        unlink(to.c_str());
        return failed;
    }
    if (unlink(from.c_str()) != 0) {
        const int failed = errno;
        unlink(to.c_str()); // the source stays: no second copy left behind
        return failed;
    }
    return 0;
}

int CopyReplacing(const std::string& from, const std::string& to)
{
    if (SameFile(from, to))
        return EINVAL;
    UniqueFd in(open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in)
        return errno;
    errno = 0;
    if (!ReplaceFile(to, [&](int fd) { return CopyFdContent(in.get(), fd); }))
        return errno ? errno : EIO;
    return 0;
}

} // namespace vistrel
