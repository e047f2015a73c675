#pragma once
// One running copy per program folder: an flock on a file in the user's private
// runtime folder, which the system drops when the process ends however it ends.
// The lock is keyed by the folder's canonical path, so every spelling of one
// folder (links, ".", "..") meets the same lock, and copies with different
// program folders (portable installs, tests) do not see each other. The running
// copy listens on a local socket beside the lock.

#include "base/unique_fd.h"

#include <string>

namespace vistrel {

class InstanceLock {
public:
    explicit InstanceLock(const std::string& programFolder);
    InstanceLock(InstanceLock&&) = default;
    InstanceLock& operator=(InstanceLock&&) = default;

    enum class State { Acquired, HeldByAnother, Unavailable };
    // Non-blocking. Unavailable: no lock can be taken here (error() says why);
    // callers then refuse to run rather than run unguarded.
    State TryAcquire();
    bool held() const { return m_held; }
    const std::string& socketPath() const { return m_socketPath; }
    const std::string& error() const { return m_error; }

private:
    std::string m_lockPath;
    std::string m_socketPath;
    std::string m_error;
    UniqueFd m_fd;
    bool m_held = false;
};

// A runtime folder only this user can enter: $XDG_RUNTIME_DIR when it is ours
// and closed to others, else /tmp/vistrel-UID made so. Empty when neither is.
std::string RuntimeFolder();

// The key of a folder's lock: the same for every spelling of one folder.
std::string InstanceKey(const std::string& programFolder);

} // namespace vistrel
