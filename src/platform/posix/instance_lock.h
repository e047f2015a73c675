#pragma once
// One running copy per program folder: an flock on a file in the user's runtime
// folder, which the system drops when the process ends however it ends. Copies
// with different program folders (portable installs, tests) do not see each
// other. The running copy listens on a local socket beside the lock.

#include <string>

namespace vistrel {

class InstanceLock {
public:
    explicit InstanceLock(const std::string& programFolder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    enum class State { Acquired, HeldByAnother, Unavailable };
    // Non-blocking. Unavailable: no lock file can be made here; the caller then
    // runs without the single-copy rule rather than not at all.
    State TryAcquire();
    bool held() const { return m_held; }
    const std::string& socketPath() const { return m_socketPath; }

private:
    std::string m_lockPath;
    std::string m_socketPath;
    int m_fd = -1;
    bool m_held = false;
};

// $XDG_RUNTIME_DIR, else a private /tmp/vistrel-UID (mode 0700).
std::string RuntimeFolder();

} // namespace vistrel
