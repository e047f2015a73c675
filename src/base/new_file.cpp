#include "base/new_file.h"

#include "base/fd_io.h"
#include "base/unique_fd.h"
#include "base/unnamed_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vistrel {

namespace {

std::string Reason(int error)
{
    return error != 0 ? std::strerror(error) : "write failed";
}


// Without unnamed files: each candidate is created exclusively and written in
// place; a file that could not be written whole is removed again.
NewFileResult WriteInPlace(const std::string& folder, const std::function<std::optional<std::string>()>& nextName,
                           const std::function<bool(int fd)>& write)
{
    while (auto candidate = nextName()) {
        UniqueFd fd(CreateFileExclusively(*candidate));
        if (!fd) {
            if (errno == EEXIST)
                continue;
            return {{}, "cannot create " + *candidate + ": " + std::strerror(errno)};
        }
        errno = 0;
        bool ok = RunFdWriter(write, fd.get());
        int error = errno;
        if (ok && !fd.Close()) {
            ok = false;
            error = errno;
        }
        if (!ok) {
            ::unlink(candidate->c_str());
            return {{}, "cannot write " + *candidate + ": " + Reason(error)};
        }
        return {*candidate, {}};
    }
    return {{}, "no free file name in " + folder, true};
}

} // namespace

int CreateFileExclusively(const std::string& path)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
}

NewFileResult WriteNewFile(const std::string& folder, const std::function<std::optional<std::string>()>& nextName,
                           const std::function<bool(int fd)>& write)
{
    UniqueFd unnamed = OpenUnnamedFile(folder);
    if (!unnamed) {
        if (!UnnamedFilesUnsupported(errno))
            return {{}, "cannot write into " + folder + ": " + std::strerror(errno)};
        return WriteInPlace(folder, nextName, write);
    }
    errno = 0;
    if (!RunFdWriter(write, unnamed.get()))
        return {{}, "cannot write into " + folder + ": " + Reason(errno)};

    while (auto candidate = nextName()) {
        const int error = NameUnnamedFile(unnamed.get(), *candidate);
        if (error == EEXIST)
            continue;
        if (error != 0)
            return {{}, "cannot create " + *candidate + ": " + std::strerror(error)};
        if (!unnamed.Close()) { // the data did not make it after all (NFS, quota)
            const int closeError = errno;
            ::unlink(candidate->c_str());
            return {{}, "cannot write " + *candidate + ": " + std::strerror(closeError)};
        }
        return {*candidate, {}};
    }
    return {{}, "no free file name in " + folder, true};
}

} // namespace vistrel
