// The recording's run priority: the nice values its threads really get, and a
// recording that asks for more than it may have still records.

#include "platform/posix/thread_priority.h"
#include "record/core/record_loop.h"
#include "record/core/run_priority.h"
#include "record_loop_helpers.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace vistrel;
using vistrel::test::FakeClock;
using vistrel::test::FakeSink;
using vistrel::test::FakeSource;

namespace {

// Notes the nice value of the thread each grab and each write runs on.
struct NiceSource : FakeSource {
    using FakeSource::FakeSource;
    std::optional<int> niceAtGrab;
    bool Grab(const RecordRegion& area, Bitmap& frame, std::string& error) override
    {
        niceAtGrab = CurrentThreadNice();
        return FakeSource::Grab(area, frame, error);
    }
};
struct NiceSink : FakeSink {
    std::optional<int> niceAtWrite;
    bool Write(const Bitmap& frame, int64_t position, std::string& error) override
    {
        niceAtWrite = CurrentThreadNice();
        return FakeSink::Write(frame, position, error);
    }
};

struct PriorityRun {
    std::optional<int> grabNice, writeNice;
    std::string error;
    size_t written = 0;
};

// A short recording at priority, its threads set up as the recorder does: the
// calling thread (the worker, which encodes) first, the grab thread as it starts.
PriorityRun RecordAt(RunPriority priority, int baseNice)
{
    const auto nice = RecordingNice(priority, baseNice);
    ApplyRecordingNice(nice);
    FakeClock clock;
    NiceSource source(clock);
    NiceSink sink;
    std::stop_source stop;
    clock.afterSleep = [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (clock.now >= 5000 + 500)
            stop.request_stop();
    };
    GrabSettings settings;
    settings.area = {0, 0, 7, 5};
    settings.screenWidth = 100;
    settings.screenHeight = 100;
    RecordHooks hooks;
    hooks.threadStarts = [nice] { ApplyRecordingNice(nice); };
    RecordStats stats;
    const RecordOutcome outcome = RunRecording(source, sink, clock, settings, stop.get_token(), stats, hooks);
    return {source.niceAtGrab, sink.niceAtWrite, outcome.error, sink.positions.size()};
}

} // namespace

TEST(RunPriority, TheListMapsToNiceStepsFromTheProgramsOwn)
{
    const int expected[] = {-10, -5, -2, 0, 5, 10};
    for (int i = 0; i < 6; ++i) {
        const auto nice = RecordingNice(RunPriorityFromIndex(i), 0);
        EXPECT_EQ(nice.value_or(0), expected[i]) << i;
    }
    EXPECT_FALSE(RecordingNice(RunPriority::Normal, 7)); // Normal leaves the threads alone
    EXPECT_EQ(RecordingNice(RunPriority::Lowest, 15), 19); // the scale ends
    EXPECT_EQ(RecordingNice(RunPriority::Highest, -15), -20);
    EXPECT_EQ(RunPriorityFromIndex(-1), RunPriority::Normal);
    EXPECT_EQ(RunPriorityFromIndex(6), RunPriority::Normal);
}

TEST(RunPriority, ALowRecordingRunsBothItsThreadsAtNiceFiveAndLeavesTheCallerAlone)
{
    const auto base = CurrentThreadNice();
    ASSERT_TRUE(base);
    PriorityRun run;
    std::optional<int> workerNice;
    std::thread worker([&] {
        run = RecordAt(RunPriority::Low, *base);
        workerNice = CurrentThreadNice();
    });
    worker.join();
    const int low = std::min(*base + 5, 19);
    EXPECT_EQ(run.error, "");
    EXPECT_GT(run.written, 0u);
    EXPECT_EQ(run.grabNice, low);
    EXPECT_EQ(run.writeNice, low);
    EXPECT_EQ(workerNice, low);
    EXPECT_EQ(CurrentThreadNice(), base); // this thread, like the user interface's, keeps its own
}

TEST(RunPriority, HighestWithoutPrivilegeStaysAtNormalAndStillRecords)
{
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // No privilege: no raise allowed by the limit, and no root.
        const rlimit none{0, 0};
        if (::setrlimit(RLIMIT_NICE, &none) != 0)
            ::_exit(77);
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
                                 ::setresuid(65534, 65534, 65534) != 0))
            ::_exit(77);
        const auto base = CurrentThreadNice();
        if (!base || *base < -19)
            ::_exit(77);
        if (SetCurrentThreadNice(*base - 1))
            ::_exit(10); // privilege after all: the test would prove nothing
        const PriorityRun run = RecordAt(RunPriority::Highest, *base);
        if (!run.error.empty() || run.written == 0)
            ::_exit(11);
        if (run.grabNice != base || run.writeNice != base || CurrentThreadNice() != base)
            ::_exit(12);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "cannot give up privileges here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: raised anyway, 11: no recording, 12: a thread's priority changed";
}
