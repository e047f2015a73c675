#include "app/timer_commands.h"

#include "app/cli_commands.h"
#include "base/instance_channel.h"
#include "base/instance_lock.h"
#include "base/program_folder.h"
#include "base/unique_fd.h"
#include "capture/grab/still_capture.h"
#include "library/core/capture_lists.h"
#include "platform/x11/screen_grab.h"
#include "platform/x11/x11_connection.h"
#include "settings/env.h"
#include "settings/folders.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <iostream>
#include <utility>
#include <poll.h>

namespace vistrel {

namespace {

ChannelRequest TimerRequestWords(const CommandLine& cl)
{
    ChannelRequest words{"--timer"};
    words.insert(words.end(), cl.timer.begin(), cl.timer.end());
    words.push_back("--interval");
    words.push_back(cl.timerInterval.value_or(""));
    if (cl.timerCount) {
        words.push_back("--count");
        words.push_back(*cl.timerCount);
    }
    if (cl.noCursor)
        words.push_back("--no-cursor");
    return words;
}

// Whether endedFd became readable within waitMs (an end signal arrived).
bool EndSignalWithin(int endedFd, std::chrono::milliseconds waitMs)
{
    pollfd p{endedFd, POLLIN, 0};
    for (;;) {
        const int ready = poll(&p, endedFd >= 0 ? 1 : 0, int(waitMs.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        return ready > 0;
    }
}

int TimerHere(const TimerRequest& request, int endedFd)
{
    theEnv.Load();
    x11::Connection conn;
    if (!conn.ok()) {
        std::cerr << "vistrel: " << conn.error() << "\n";
        return 1;
    }
    std::string error;
    const auto screen = x11::CurrentScreenRect(conn, &error);
    if (!screen) {
        std::cerr << "vistrel: " << error << "\n";
        return 1;
    }
    const TimerPlanResult planned = PlanTimerCapture(request.settings, screen->width, screen->height);
    if (const auto* problem = std::get_if<TimerSettingsError>(&planned)) {
        std::cerr << "vistrel: " << DescribeTimerError(*problem) << "\n";
        return 2;
    }
    const TimerPlan& plan = std::get<TimerPlan>(planned);
    TimerSchedule schedule(plan.interval, TimerSchedule::Clock::now(), request.count);
    while (!schedule.finished()) {
        if (EndSignalWithin(endedFd, schedule.WaitFrom(TimerSchedule::Clock::now())))
            return 0;
        if (!schedule.TakeShot(TimerSchedule::Clock::now()))
            continue;
        const StillCaptureResult shot = CaptureScreenArea(conn, plan.x, plan.y, plan.width, plan.height,
                                                          plan.showMouse, theEnv, g_captureLists.bitmaps);
        if (!shot.error.empty())
            std::cerr << "vistrel: " << shot.error << "\n";
        if (!shot.path.empty() && !PrintToStdout(shot.path + "\n"))
            return 1;
        if (shot.status != 0)
            return shot.status;
    }
    return 0;
}

} // namespace

TimerWords TimerWordsOf(const CommandLine& cl) { return {cl.timer, cl.timerInterval, cl.timerCount, cl.noCursor}; }

int RunTimerCommand(const CommandLine& commandLine)
{
    // Refused before the lock is waited for.
    std::string error;
    const auto request = ParseTimerRequest(TimerWordsOf(commandLine), error);
    if (!request) {
        std::cerr << "vistrel: " << error << "\n";
        return 2;
    }
    std::signal(SIGPIPE, SIG_IGN); // a closed stdout is reported, not fatal
    const std::string folder = GetProgramFolder();
    EnsureFolder(folder);
    InstanceLock lock(folder);
    // Handed over, the end signals ask the running copy to end the timer
    // capture, and its answer (the paths so far) is still printed.
    const UniqueFd ended = TakeEndSignals();
    ChannelReply reply;
    bool printed = true;
    const auto print = [&printed](const std::string& paths) {
        // Nobody reads the paths any more: the run ends as an interrupt ends it.
        if (!PrintToStdout(paths) && std::exchange(printed, false))
            raise(SIGTERM);
    };
    const HandOver outcome = HandOverOrLock(lock, TimerRequestWords(commandLine), reply, error,
                                            SayWaitingForAnotherRun, ended.get(), print);
    switch (outcome) {
    case HandOver::LockAcquired: return TimerHere(*request, ended.get());
    case HandOver::Failed: std::cerr << "vistrel: " << error << "\n"; return 1;
    case HandOver::Answered: break;
    }
    const int status = ReportReply(reply);
    return printed ? status : 1;
}

} // namespace vistrel
