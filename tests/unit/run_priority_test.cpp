// The nice values a recording's threads really run at, and a recording that
// asks for more than it may have still records.

#include "base/thread_priority.h"
#include "record/core/run_priority.h"
#include "record_loop_helpers.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace vistrel;
using namespace vistrel::test;

namespace {

struct NiceSource : FakeSource {
    using FakeSource::FakeSource;
    std::optional<int> nice;
    bool Grab(const RecordRegion& area, Bitmap& frame, std::string& error) override
    {
        nice = CurrentThreadNice();
        return FakeSource::Grab(area, frame, error);
    }
};
struct NiceSink : FakeSink {
    std::optional<int> nice;
    bool Write(const Bitmap& frame, int64_t position, std::string& error) override
    {
        nice = CurrentThreadNice();
        return FakeSink::Write(frame, position, error);
    }
};

// A short recording with its threads set up as the recorder's: the calling
// thread (the worker, which encodes) first, the grab thread as it starts.
// True when it recorded and both threads ran at expected.
bool RecordsAt(RunPriority priority, int baseNice, int expected)
{
    const auto nice = RecordingNice(priority, baseNice);
    ApplyRecordingNice(nice);
    FakeClock clock;
    NiceSource source(clock);
    NiceSink sink;
    std::stop_source stop;
    clock.afterSleep = [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (clock.now >= 5500)
            stop.request_stop();
    };
    GrabSettings settings;
    settings.area = {0, 0, 7, 5};
    RecordHooks hooks;
    hooks.threadStarts = [nice] { ApplyRecordingNice(nice); };
    RecordStats stats;
    const RecordOutcome outcome = RunRecording(source, sink, clock, settings, stop.get_token(), stats, hooks);
    return outcome.error.empty() && !sink.positions.empty() && source.nice == expected && sink.nice == expected &&
           CurrentThreadNice() == expected;
}

} // namespace

TEST(RunPriority, ALowRecordingRunsItsThreadsAtNiceFiveAndLeavesTheCallerAlone)
{
    const auto base = CurrentThreadNice();
    ASSERT_TRUE(base);
    bool ok = false;
    std::thread([&] { ok = RecordsAt(RunPriority::Low, *base, std::min(*base + 5, 19)); }).join();
    EXPECT_TRUE(ok);
    EXPECT_EQ(CurrentThreadNice(), base); // like the user interface's thread
}

TEST(RunPriority, HighestWithoutPrivilegeStaysAtNormalAndStillRecords)
{
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const rlimit none{0, 0}; // no raise allowed by the limit, and no root
        if (::setrlimit(RLIMIT_NICE, &none) != 0 ||
            (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
                                  ::setresuid(65534, 65534, 65534) != 0)))
            ::_exit(77);
        const auto base = CurrentThreadNice();
        if (!base || *base == -20 || SetCurrentThreadNice(*base - 1))
            ::_exit(77); // privileged after all: nothing to prove
        ::_exit(RecordsAt(RunPriority::Highest, *base, *base) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "cannot give up privileges here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
