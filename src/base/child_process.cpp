#include "base/child_process.h"

#include "base/unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vistrel {

namespace {

constexpr size_t kMaxOutput = 1 << 20;

// posix_spawn's file actions, released on every path.
class SpawnActions {
public:
    SpawnActions() { m_ok = posix_spawn_file_actions_init(&m_actions) == 0; }
    ~SpawnActions()
    {
        if (m_ok)
            posix_spawn_file_actions_destroy(&m_actions);
    }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    bool ok() const { return m_ok; }
    posix_spawn_file_actions_t* get() { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions {};
    bool m_ok = false;
};

// Reads until end of file or the deadline; false when the deadline came first.
bool ReadUntilEnd(int fd, std::string& output, std::chrono::steady_clock::time_point deadline)
{
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd p {fd, POLLIN, 0};
        const int ready = poll(&p, 1, int(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            return false;
        if (ready < 0)
            return true;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return true;
        if (output.size() < kMaxOutput)
            output.append(buffer, std::min(size_t(n), kMaxOutput - output.size()));
    }
}

// Waits for pid until the deadline; false when it has not ended by then.
bool WaitUntil(pid_t pid, int& status, std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return true;
        if (done < 0 && errno != EINTR)
            return false;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        usleep(2000);
    }
}

bool IsExecutableFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

pid_t WaitForExit(pid_t pid, int& status)
{
    pid_t done;
    do
        done = waitpid(pid, &status, 0);
    while (done < 0 && errno == EINTR);
    return done;
}

// Between fork and exec only async-signal-safe calls: the parent may have
// other threads, whose locks the copy holds in whatever state they were.
[[noreturn]] void BecomeDetached(const char* path, char* const* args, int errorFd)
{
    setsid();
    const pid_t grandchild = _Fork(); // fork's handlers are not safe here
    if (grandchild != 0)
        _exit(grandchild < 0 ? 1 : 0); // the grandchild goes to init, which reaps it
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    if (const int in = open("/dev/null", O_RDONLY); in >= 0 && in != 0) {
        dup2(in, 0);
        close(in);
    }
    execve(path, args, environ);
    const int error = errno;
    (void)!write(errorFd, &error, sizeof error);
    _exit(127);
}

} // namespace

std::string FindProgram(std::string_view name)
{
    if (name.empty())
        return {};
    if (name.find('/') != std::string_view::npos)
        return IsExecutableFile(std::string(name)) ? std::string(name) : std::string();
    const char* path = std::getenv("PATH");
    std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!dirs.empty()) {
        const size_t colon = std::min(dirs.find(':'), dirs.size());
        const std::string_view dir = dirs.substr(0, colon);
        dirs.remove_prefix(std::min(colon + 1, dirs.size()));
        if (dir.empty())
            continue;
        if (std::string candidate = std::string(dir) + "/" + std::string(name); IsExecutableFile(candidate))
            return candidate;
    }
    return {};
}

DetachedStart StartDetached(const std::vector<std::string>& argv)
{
    const std::string path = argv.empty() ? std::string() : FindProgram(argv.front());
    if (path.empty())
        return DetachedStart::NotFound;
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return DetachedStart::Failed;
    UniqueFd readEnd(ends[0]);
    UniqueFd writeEnd(ends[1]);
    const pid_t child = fork();
    if (child < 0)
        return DetachedStart::Failed;
    if (child == 0)
        BecomeDetached(path.c_str(), args.data(), writeEnd.get());
    writeEnd.Reset();
    int status = 0;
    if (WaitForExit(child, status) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return DetachedStart::Failed;
    // The pipe closes on a successful exec; a failed one writes its errno first.
    int error = 0;
    ssize_t n;
    do
        n = read(readEnd.get(), &error, sizeof error);
    while (n < 0 && errno == EINTR);
    return n == 0 ? DetachedStart::Started : DetachedStart::Failed;
}

ChildOutcome RunProgram(const std::vector<std::string>& argv, int timeLimitMs)
{
    ChildOutcome outcome;
    if (argv.empty())
        return outcome;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return outcome;
    UniqueFd readEnd(ends[0]);
    UniqueFd writeEnd(ends[1]);
    SpawnActions actions;
    if (!actions.ok() || posix_spawn_file_actions_adddup2(actions.get(), writeEnd.get(), 1) != 0 ||
        posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0) != 0 ||
        posix_spawn_file_actions_addopen(actions.get(), 2, "/dev/null", O_WRONLY, 0) != 0)
        return outcome;

    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], actions.get(), nullptr, args.data(), environ) != 0)
        return outcome;
    outcome.started = true;
    writeEnd.Reset();

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeLimitMs);
    ReadUntilEnd(readEnd.get(), outcome.output, deadline);
    int status = 0;
    if (!WaitUntil(pid, status, deadline)) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return outcome;
    }
    outcome.finished = true;
    if (WIFEXITED(status))
        outcome.exitCode = WEXITSTATUS(status);
    return outcome;
}

} // namespace vistrel
