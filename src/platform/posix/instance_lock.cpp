#include "platform/posix/instance_lock.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

namespace {

std::string FolderKey(const std::string& folder)
{
    uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (unsigned char c : folder) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

} // namespace

std::string RuntimeFolder()
{
    if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir && *dir == '/' && access(dir, W_OK) == 0)
        return dir;
    std::string dir = "/tmp/vistrel-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    struct stat st {};
    // Somebody else's folder of that name would let them see our socket.
    if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid())
        return {};
    chmod(dir.c_str(), 0700);
    return dir;
}

InstanceLock::InstanceLock(const std::string& programFolder)
{
    std::string runtime = RuntimeFolder();
    if (runtime.empty())
        return;
    std::string base = runtime + "/vistrel-" + FolderKey(programFolder);
    m_lockPath = base + ".lock";
    m_socketPath = base + ".sock";
}

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        close(m_fd); // drops the flock
}

InstanceLock::State InstanceLock::TryAcquire()
{
    if (m_held)
        return State::Acquired;
    if (m_lockPath.empty())
        return State::Unavailable;
    if (m_fd < 0)
        m_fd = open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0)
        return State::Unavailable;
    if (flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
        m_held = true;
        return State::Acquired;
    }
    return errno == EWOULDBLOCK ? State::HeldByAnother : State::Unavailable;
}

} // namespace vistrel
