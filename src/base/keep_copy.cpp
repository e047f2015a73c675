#include "base/keep_copy.h"

#include "base/fd_io.h"
#include "base/unique_fd.h"
#include "base/unnamed_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

namespace {

// Enough for any real run of damaged files; past it something else is wrong.
constexpr int kMaxNames = 1000;

enum class CopyOutcome { Copied, NameTaken, Failed };

CopyOutcome CopyExclusively(const std::string& from, const std::string& to)
{
    // Non-blocking, so that a FIFO put in the file's place cannot stall us.
    UniqueFd source(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (source.get() < 0 || ::fstat(source.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return CopyOutcome::Failed;
    UniqueFd target(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777));
    if (target.get() < 0)
        return errno == EEXIST ? CopyOutcome::NameTaken : CopyOutcome::Failed;
    // The copy must be on disk before the original may be replaced.
    bool ok = CopyFdContent(source.get(), target.get()) && ::fsync(target.get()) == 0;
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
        if (!HardLinkRefused(error))
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
