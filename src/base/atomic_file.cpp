#include "base/atomic_file.h"

#include "base/canonical_path.h"
#include "base/fd_io.h"
#include "base/unique_fd.h"
#include "base/unnamed_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

namespace {

// Removes the temporary name unless it was renamed into place.
class TempNameGuard {
public:
    explicit TempNameGuard(std::string path) : m_path(std::move(path)) {}
    ~TempNameGuard()
    {
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }
    TempNameGuard(const TempNameGuard&) = delete;
    TempNameGuard& operator=(const TempNameGuard&) = delete;
    void Release() { m_path.clear(); }
    void Set(std::string path) { m_path = std::move(path); }

private:
    std::string m_path;
};

std::string TempNameFor(const std::string& target, std::random_device& random)
{
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".tmp-%08x", unsigned(random()));
    return target + suffix;
}



} // namespace

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
    // The content goes into an unnamed file first where the file system has
    // them, so a process killed while writing leaves nothing behind; only the
    // moment between naming it and renaming it over the target is exposed.
    UniqueFd file = OpenUnnamedFile(ParentFolder(target));
    std::string tempPath;
    const bool unnamed = file.valid();
    if (!unnamed) {
        if (!UnnamedFilesUnsupported(errno))
            return false;
        for (int attempt = 0; attempt < 16 && !file; ++attempt) {
            tempPath = TempNameFor(target, random);
            file = UniqueFd(::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            if (!file && errno != EEXIST)
                return false;
        }
        if (!file)
            return false;
    }
    TempNameGuard guard(tempPath);
    if (replacing) // keep the permissions the user gave the file
        ::fchmod(file.get(), st.st_mode & 07777);
    bool ok = RunFdWriter(write, file.get());
    if (ok && replacing)
        ok = ::fsync(file.get()) == 0;
    if (ok && unnamed) {
        int error = EEXIST;
        for (int attempt = 0; attempt < 16 && error == EEXIST; ++attempt) {
            tempPath = TempNameFor(target, random);
            error = NameUnnamedFile(file.get(), tempPath);
        }
        ok = error == 0;
        if (ok)
            guard.Set(tempPath);
    }
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
