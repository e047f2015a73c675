#include "base/instance_lock.h"

#include "base/canonical_path.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

namespace {

// Ours, a real folder (not a link), and closed to everybody else.
bool IsPrivateFolder(const std::string& dir)
{
    struct stat st {};
    return lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() &&
           (st.st_mode & 077) == 0;
}

} // namespace

std::string RuntimeFolder()
{
    if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir && *dir == '/' && IsPrivateFolder(dir))
        return dir;
    std::string dir = "/tmp/vistrel-" + std::to_string(getuid());
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    return IsPrivateFolder(dir) ? dir : std::string();
}

std::string InstanceKey(const std::string& programFolder)
{
    uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (unsigned char c : CanonicalPath(programFolder)) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

InstanceLock::InstanceLock(const std::string& programFolder)
{
    std::string runtime = RuntimeFolder();
    if (runtime.empty()) {
        m_error = "no private runtime folder: $XDG_RUNTIME_DIR is not a folder of this user closed to "
                  "others, and /tmp/vistrel-" + std::to_string(getuid()) + " cannot be made so";
        return;
    }
    std::string base = runtime + "/vistrel-" + InstanceKey(programFolder);
    m_lockPath = base + ".lock";
    m_socketPath = base + ".sock";
}

InstanceLock::State InstanceLock::TryAcquire()
{
    if (m_held)
        return State::Acquired;
    if (m_lockPath.empty())
        return State::Unavailable;
    if (!m_fd)
        m_fd = UniqueFd(open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!m_fd) {
        m_error = "cannot open the lock " + m_lockPath + ": " + std::strerror(errno);
        return State::Unavailable;
    }
    if (flock(m_fd.get(), LOCK_EX | LOCK_NB) == 0) {
        m_held = true;
        return State::Acquired;
    }
    if (errno == EWOULDBLOCK)
        return State::HeldByAnother;
    m_error = "cannot lock " + m_lockPath + ": " + std::strerror(errno);
    return State::Unavailable;
}

} // namespace vistrel
