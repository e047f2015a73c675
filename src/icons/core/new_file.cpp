#include "icons/core/new_file.h"

#include "platform/posix/atomic_file.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace vistrel {

NewFileResult WriteNewFile(const std::string& path, std::span<const uint8_t> bytes)
{
    if (path.empty())
        return NewFileResult::Failed;
    // O_EXCL also refuses a symbolic link in the way, so nothing is written
    // through one.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0)
        return errno == EEXIST ? NewFileResult::Exists : NewFileResult::Failed;
    bool ok = WriteAllToFd(fd, bytes);
    ok = ::close(fd) == 0 && ok;
    if (ok)
        return NewFileResult::Written;
    // The file is ours (we created it): a partial one would pass for an icon.
    ::unlink(path.c_str());
    return NewFileResult::Failed;
}

} // namespace vistrel
