#include "app/select_commands.h"

#include "app/cli_commands.h"
#include "base/instance_channel.h"
#include "base/instance_lock.h"
#include "base/program_folder.h"
#include "capture/core/capture_request.h"
#include "settings/folders.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace vistrel {

namespace {

// Once the window runs, it takes the lock at once; this covers a slow start.
constexpr auto kWindowStartLimit = std::chrono::seconds(30);
constexpr auto kWindowStartPoll = std::chrono::milliseconds(50);

ChannelRequest WindowRequestWords(const CommandLine& cl)
{
    if (cl.recordDialog)
        return {"--record-dialog"};
    return {"--select", cl.select};
}

// The answer of the running copy, or nullopt when none runs (the lock, taken
// meanwhile, is let go again on return).
std::optional<int> AnswerOfRunningCopy(const std::string& folder, const ChannelRequest& words, bool sayWaiting)
{
    InstanceLock lock(folder);
    ChannelReply reply;
    std::string error;
    const std::function<void()> waiting = sayWaiting ? SayWaitingForAnotherRun : std::function<void()>();
    switch (HandOverOrLock(lock, words, reply, error, waiting)) {
    case HandOver::Answered: return ReportReply(reply);
    case HandOver::Failed: std::cerr << "vistrel: " << error << "\n"; return 1;
    case HandOver::LockAcquired: break;
    }
    return std::nullopt;
}

// The windowed program beside this one, minimised, in a session of its own and
// with its standard streams on /dev/null: a caller that reads our output is
// not kept waiting by a window that outlives us.
pid_t StartWindow(const CommandLine& cl, std::string& error)
{
    const std::string path = ExecutableFolder() + "/vistrel-gui";
    std::vector<std::string> words{path};
    if (!cl.home.empty())
        words.insert(words.end(), {"--home", cl.home});
    words.push_back("0");
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = -1;
    const int status = posix_spawn(&pid, path.c_str(), &files, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    if (status != 0) {
        error = "cannot start " + path + ": " + std::strerror(status);
        return -1;
    }
    return pid;
}

} // namespace

bool IsWindowRequest(const CommandLine& commandLine) { return !commandLine.select.empty() || commandLine.recordDialog; }

int RunWindowRequest(const CommandLine& commandLine)
{
    std::string error;
    if (!commandLine.select.empty() && !ParseSelectShape(commandLine.select, error)) {
        std::cerr << "vistrel: " << error << "\n";
        return 2;
    }
    std::signal(SIGPIPE, SIG_IGN); // a closed stdout is reported, not fatal
    const std::string folder = GetProgramFolder();
    EnsureFolder(folder); // --home may name a folder not made yet
    const ChannelRequest words = WindowRequestWords(commandLine);
    if (const auto status = AnswerOfRunningCopy(folder, words, true))
        return *status;
    const pid_t window = StartWindow(commandLine, error);
    if (window < 0) {
        std::cerr << "vistrel: " << error << "\n";
        return 1;
    }
    // Until the window holds the lock, the lock is ours again at every look.
    const auto deadline = std::chrono::steady_clock::now() + kWindowStartLimit;
    for (;;) {
        if (const auto status = AnswerOfRunningCopy(folder, words, false))
            return *status;
        int ended = 0;
        if (waitpid(window, &ended, WNOHANG) == window) {
            std::cerr << "vistrel: the window ended before it took the request (see vistrel without options)\n";
            return 1;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            std::cerr << "vistrel: the window did not start within " << kWindowStartLimit.count() << " seconds\n";
            return 1;
        }
        std::this_thread::sleep_for(kWindowStartPoll);
    }
}

} // namespace vistrel
