#include "base/file_moves.h"

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
