#include "base/file_moves.h"

#include "base/atomic_file.h"
#include "base/fd_io.h"
#include "base/new_file.h"
#include "base/unique_fd.h"
#include "base/unnamed_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

namespace {

// errno values by which the kernel or the file system says it has no
// RENAME_NOREPLACE.
bool NoReplaceUnsupported(int error)
{
    return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP;
}

int RenameByLink(const std::string& from, const std::string& to)
{
    struct stat st {};
    if (::lstat(from.c_str(), &st) != 0)
        return errno;
    if (S_ISDIR(st.st_mode))
        return ENOTSUP; // directories cannot be linked
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno;
    if (::unlink(from.c_str()) != 0) {
        const int error = errno;
        ::unlink(to.c_str());
        return error;
    }
    return 0;
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace

int RenameWithoutReplacing(const std::string& from, const std::string& to)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (!NoReplaceUnsupported(errno))
        return errno;
#endif
    const int error = RenameByLink(from, to);
    if (!HardLinkRefused(error))
        return error;
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0)
        return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int MoveWithoutReplacing(const std::string& from, const std::string& to)
{
    const int error = RenameWithoutReplacing(from, to);
    if (error != EXDEV)
        return error;
    UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in)
        return errno;
    UniqueFd out(CreateFileExclusively(to));
    if (!out)
        return errno;
    if (!CopyFdContent(in.get(), out.get()) || ::fsync(out.get()) != 0) {
        const int failed = errno ? errno : EIO;
        ::unlink(to.c_str());
        return failed;
    }
    if (::unlink(from.c_str()) != 0) {
        const int failed = errno;
        ::unlink(to.c_str()); // the source stays: no second copy left behind
        return failed;
    }
    return 0;
}

int CopyReplacing(const std::string& from, const std::string& to)
{
    if (SameFile(from, to))
        return EINVAL;
    UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in)
        return errno;
    errno = 0;
    if (!ReplaceFile(to, [&](int fd) { return CopyFdContent(in.get(), fd); }))
        return errno ? errno : EIO;
    return 0;
}

bool RemoveFileForGood(const std::string& path)
{
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

std::optional<FileFacts> LookAtFile(const std::string& path)
{
    struct statx sx {};
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_SIZE | STATX_BTIME | STATX_MTIME, &sx) == 0) {
        FileFacts facts;
        facts.size = sx.stx_size;
        facts.created = (sx.stx_mask & STATX_BTIME) ? std::time_t(sx.stx_btime.tv_sec) : std::time_t(sx.stx_mtime.tv_sec);
        return facts;
    }
    if (errno != ENOSYS)
        return std::nullopt;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileFacts{uint64_t(st.st_size), st.st_mtime};
}

} // namespace vistrel
