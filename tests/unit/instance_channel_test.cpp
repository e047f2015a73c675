#include "base/instance_channel.h"
#include "base/instance_server.h"
#include "base/unique_fd.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>
#include <random>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>

using namespace vistrel;
using vistrel::test::TempHome;
using namespace std::chrono_literals;

namespace {

ChannelRequest BigRequest()
{
    std::string big(300 * 1024, 'x');
    for (size_t i = 0; i < big.size(); i += 997)
        big[i] = char('0' + i % 10);
    return {"--set", "m_strBitmapName=" + big, "", "two\nlines\n", std::string(1, '\0')};
}

// A runtime folder of the test's own, so the lock and socket are private.
struct PrivateRuntime {
    TempHome home;
    PrivateRuntime() { setenv("XDG_RUNTIME_DIR", home.path().c_str(), 1); }
    ~PrivateRuntime() { unsetenv("XDG_RUNTIME_DIR"); }
};

// A client that speaks to the socket itself: connected, with bytes sent as they
// are; invalid when either failed.
UniqueFd SendRaw(const std::string& socketPath, const std::string& bytes)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    UniqueFd fd(socket(AF_UNIX, SOCK_STREAM, 0));
    if (!fd || connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        send(fd.get(), bytes.data(), bytes.size(), 0) != ssize_t(bytes.size()))
        return UniqueFd();
    return fd;
}

std::string Joined(const ChannelRequest& words)
{
    std::string all;
    for (const auto& w : words)
        all += std::to_string(w.size()) + ":" + w;
    return all;
}

} // namespace

TEST(ChannelFraming, RequestsSurviveAnySplit)
{
    const ChannelRequest request = BigRequest();
    const std::string bytes = EncodeRequest(request);
    std::mt19937 random(7);
    for (int round = 0; round < 4; ++round) {
        RequestDecoder decoder;
        RequestDecoder::State state = RequestDecoder::State::NeedMore;
        for (size_t pos = 0; pos < bytes.size();) {
            const size_t piece = round == 0 ? 1 : 1 + random() % 70000;
            ASSERT_EQ(state, RequestDecoder::State::NeedMore) << pos;
            state = decoder.Feed(std::string_view(bytes).substr(pos, piece));
            pos += piece;
        }
        ASSERT_EQ(state, RequestDecoder::State::Complete);
        EXPECT_EQ(decoder.words(), request);
    }
    for (const char* bad : {"x\n", "2\n1\nab", "1\n-1\n", "\n", "99999999999999999999\n", "1\n0\nextra"}) {
        RequestDecoder decoder;
        EXPECT_EQ(decoder.Feed(bad), RequestDecoder::State::Bad) << bad;
    }
    RequestDecoder empty;
    EXPECT_EQ(empty.Feed("0\n"), RequestDecoder::State::Complete);
    EXPECT_FALSE(empty.interrupted());
    // The interrupt may ride in with the request; nothing else may.
    RequestDecoder interrupted;
    EXPECT_EQ(interrupted.Feed("1\n1\na!"), RequestDecoder::State::Complete);
    EXPECT_TRUE(interrupted.interrupted());
    EXPECT_EQ(interrupted.words(), ChannelRequest{"a"});
    RequestDecoder mixed;
    EXPECT_EQ(mixed.Feed("1\n1\na!x"), RequestDecoder::State::Bad);

    const ChannelReply reply {3, std::string(100000, 'o'), "why\n"};
    ReplyDecoder replies;
    EXPECT_EQ(replies.Feed("..."), ReplyDecoder::State::NeedMore);
    EXPECT_EQ(replies.Feed(EncodeReply(reply)), ReplyDecoder::State::Complete);
    EXPECT_EQ(replies.reply().output, reply.output);
    EXPECT_EQ(replies.reply().error, reply.error);
    EXPECT_EQ(replies.reply().status, 3);
    ReplyDecoder notTaken;
    EXPECT_EQ(notTaken.Feed(".-"), ReplyDecoder::State::NotTaken);
}

TEST(InstanceChannel, LargeRequestsAndSlowAnswersGetThrough)
{
    PrivateRuntime runtime;
    InstanceLock running("/opt/program");
    ASSERT_EQ(running.TryAcquire(), InstanceLock::State::Acquired);
    std::vector<std::jthread> workers;
    InstanceServer server(running.socketPath(), [&](std::shared_ptr<PendingRequest> pending) {
        workers.emplace_back([pending] {
            if (pending->words().size() == 1)
                std::this_thread::sleep_for(2500ms); // longer than the beat: the client keeps waiting
            if (pending->Start())
                pending->Finish({4, Joined(pending->words()), "done"});
        });
    });
    ASSERT_TRUE(server.listening()) << server.error();

    InstanceLock client("/opt/program");
    ChannelReply reply;
    std::string error;
    ASSERT_EQ(HandOverOrLock(client, BigRequest(), reply, error), HandOver::Answered) << error;
    EXPECT_EQ(reply.status, 4);
    EXPECT_EQ(reply.output, Joined(BigRequest()));
    EXPECT_EQ(reply.error, "done");
    ASSERT_EQ(HandOverOrLock(client, {"32863"}, reply, error), HandOver::Answered) << error;
    EXPECT_EQ(reply.output, Joined({"32863"}));
    EXPECT_FALSE(client.held());
}

TEST(InstanceChannel, AClientThatLeavesWithdrawsItsRequest)
{
    PrivateRuntime runtime;
    InstanceLock running("/opt/program");
    ASSERT_EQ(running.TryAcquire(), InstanceLock::State::Acquired);
    std::promise<std::shared_ptr<PendingRequest>> arrived;
    InstanceServer server(running.socketPath(), [&](std::shared_ptr<PendingRequest> p) { arrived.set_value(p); });

    UniqueFd connection = SendRaw(running.socketPath(), EncodeRequest({"--capture", "fullscreen"}));
    ASSERT_TRUE(connection);
    auto pending = arrived.get_future();
    ASSERT_EQ(pending.wait_for(5s), std::future_status::ready);
    std::shared_ptr<PendingRequest> p = pending.get();
    connection.Reset(); // killed before the running copy got to it
    for (int i = 0; i < 200 && !p->withdrawn(); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(p->withdrawn());
    EXPECT_FALSE(p->Start());
}

TEST(InstanceChannel, WaitersCarryOnOnceTheHolderEnds)
{
    PrivateRuntime runtime;
    auto running = std::make_unique<InstanceLock>("/opt/program");
    ASSERT_EQ(running->TryAcquire(), InstanceLock::State::Acquired);
    std::promise<std::shared_ptr<PendingRequest>> queued;
    auto server = std::make_unique<InstanceServer>(running->socketPath(),
                                                   [&](std::shared_ptr<PendingRequest> p) { queued.set_value(p); });

    // Queued with a copy that ends before starting it: given back, and the
    // waiter then takes the lock itself.
    InstanceLock client("/opt/program");
    auto waiter = std::async(std::launch::async, [&] {
        ChannelReply reply;
        std::string error;
        return HandOverOrLock(client, {"--capture", "fullscreen"}, reply, error);
    });
    std::this_thread::sleep_for(300ms);
    server.reset();
    running.reset();
    ASSERT_EQ(waiter.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(waiter.get(), HandOver::LockAcquired);
    EXPECT_TRUE(client.held());

    // A holder that never listens (a command-line run) is waited out too.
    InstanceLock next("/opt/program");
    auto second = std::async(std::launch::async, [&] {
        ChannelReply reply;
        std::string error;
        return HandOverOrLock(next, {"x"}, reply, error);
    });
    EXPECT_EQ(second.wait_for(300ms), std::future_status::timeout);
    client = InstanceLock("/opt/other");
    ASSERT_EQ(second.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(second.get(), HandOver::LockAcquired);
}

TEST(InstanceChannel, AnInterruptEndsRunningWorkAndWithdrawsQueuedWork)
{
    PrivateRuntime runtime;
    InstanceLock running("/opt/program");
    ASSERT_EQ(running.TryAcquire(), InstanceLock::State::Acquired);
    std::vector<std::jthread> workers;
    InstanceServer server(running.socketPath(), [&](std::shared_ptr<PendingRequest> pending) {
        if (pending->words().front() == "queued")
            return; // never started
        ASSERT_TRUE(pending->Start());
        // Like a recording: runs until asked to end, then answers with what it has.
        auto ended = std::make_shared<std::promise<void>>();
        pending->OnInterrupt([ended] { ended->set_value(); });
        workers.emplace_back([pending, ended] {
            const bool asked = ended->get_future().wait_for(10s) == std::future_status::ready;
            pending->Finish({asked ? 0 : 3, "file.avi\n", {}});
        });
    });
    ASSERT_TRUE(server.listening()) << server.error();

    for (const char* word : {"running", "queued"}) {
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        UniqueFd readEnd(ends[0]), writeEnd(ends[1]);
        InstanceLock client("/opt/program");
        auto waiter = std::async(std::launch::async, [&] {
            ChannelReply reply;
            std::string error;
            const HandOver outcome = HandOverOrLock(client, {word}, reply, error, {}, readEnd.get());
            return std::make_pair(outcome, reply);
        });
        EXPECT_EQ(waiter.wait_for(1500ms), std::future_status::timeout) << word; // outlasts a heartbeat
        ASSERT_EQ(write(writeEnd.get(), "x", 1), 1); // Ctrl+C
        ASSERT_EQ(waiter.wait_for(5s), std::future_status::ready) << word;
        const auto [outcome, reply] = waiter.get();
        ASSERT_EQ(outcome, HandOver::Answered) << word;
        if (std::string(word) == "running") {
            EXPECT_EQ(reply.status, 0);
            EXPECT_EQ(reply.output, "file.avi\n"); // the answer still comes
        } else {
            EXPECT_EQ(reply.status, 1);
            EXPECT_NE(reply.error.find("before it began"), std::string::npos) << reply.error;
        }
    }
}

TEST(InstanceChannel, AClientThatLeavesInterruptsItsRunningWork)
{
    PrivateRuntime runtime;
    InstanceLock running("/opt/program");
    ASSERT_EQ(running.TryAcquire(), InstanceLock::State::Acquired);
    std::promise<void> interrupted;
    InstanceServer server(running.socketPath(), [&](std::shared_ptr<PendingRequest> p) {
        p->Start();
        p->OnInterrupt([&] { interrupted.set_value(); });
    });
    UniqueFd connection = SendRaw(running.socketPath(), EncodeRequest({"--record", "fullscreen"}));
    ASSERT_TRUE(connection);
    std::this_thread::sleep_for(200ms);
    connection.Reset(); // killed: nobody waits for the recording any more
    EXPECT_EQ(interrupted.get_future().wait_for(5s), std::future_status::ready);
}

TEST(InstanceChannel, AnInterruptThatComesWithTheRequestStillCounts)
{
    PrivateRuntime runtime;
    InstanceLock running("/opt/program");
    ASSERT_EQ(running.TryAcquire(), InstanceLock::State::Acquired);
    std::promise<std::shared_ptr<PendingRequest>> arrived;
    InstanceServer server(running.socketPath(), [&](std::shared_ptr<PendingRequest> p) { arrived.set_value(p); });

    // Ctrl+C before the request went out: it is not sent at all.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    UniqueFd readEnd(ends[0]), writeEnd(ends[1]);
    ASSERT_EQ(write(writeEnd.get(), "x", 1), 1);
    InstanceLock client("/opt/program");
    ChannelReply reply;
    std::string error;
    EXPECT_EQ(HandOverOrLock(client, {"--record", "fullscreen"}, reply, error, {}, readEnd.get()), HandOver::Failed);
    EXPECT_NE(error.find("interrupted"), std::string::npos) << error;

    // In one piece with the request: the request is taken, then withdrawn.
    UniqueFd connection = SendRaw(running.socketPath(), EncodeRequest({"--record", "fullscreen"}) + kInterruptByte);
    ASSERT_TRUE(connection);
    auto pending = arrived.get_future();
    ASSERT_EQ(pending.wait_for(5s), std::future_status::ready);
    std::string answer;
    char buffer[256];
    for (ssize_t n; (n = recv(connection.get(), buffer, sizeof buffer, 0)) > 0;)
        answer.append(buffer, size_t(n));
    ReplyDecoder decoder;
    ASSERT_EQ(decoder.Feed(answer), ReplyDecoder::State::Complete) << answer;
    EXPECT_EQ(decoder.reply().status, 1);
    EXPECT_TRUE(pending.get()->withdrawn()); // answered only once it was
}

TEST(InstanceChannel, ARequestThatWaitsUnstartedTellsItsClientOnceAndWorkUnderWayDoesNot)
{
    PrivateRuntime runtime;
    InstanceLock running("/opt/program");
    ASSERT_EQ(running.TryAcquire(), InstanceLock::State::Acquired);
    std::vector<std::jthread> workers;
    InstanceServer server(running.socketPath(), [&](std::shared_ptr<PendingRequest> pending) {
        workers.emplace_back([pending] {
            const bool startLate = pending->words().front() == "late";
            if (!startLate && !pending->Start())
                return;
            std::this_thread::sleep_for(2500ms); // two beats or more
            if (startLate && !pending->Start())
                return;
            pending->Finish({0, "done", {}});
        });
    });
    ASSERT_TRUE(server.listening()) << server.error();

    InstanceLock client("/opt/program");
    for (const char* word : {"late", "early"}) {
        int told = 0;
        ChannelReply reply;
        std::string error;
        ASSERT_EQ(HandOverOrLock(client, {word}, reply, error, [&] { ++told; }), HandOver::Answered) << error;
        EXPECT_EQ(reply.output, "done");
        EXPECT_EQ(told, word == std::string("late") ? 1 : 0) << word;
    }

    ReplyDecoder decoder;
    EXPECT_EQ(decoder.Feed(".:."), ReplyDecoder::State::NeedMore);
    EXPECT_TRUE(decoder.queued());
    EXPECT_EQ(decoder.Feed(EncodeReply({0, "x", {}})), ReplyDecoder::State::Complete);
}

TEST(ChannelFraming, ProgressSurvivesAnySplitAndIsNeverLost)
{
    const std::string first = "/shots/1.bmp\n", second(70000, 'p');
    const std::string bytes = "." + EncodeProgress(first) + ":" + EncodeProgress("") + EncodeProgress(second) + "." +
                              EncodeReply({0, "last\n", "note"});
    std::mt19937 random(11);
    for (int round = 0; round < 4; ++round) {
        ReplyDecoder decoder;
        std::string taken;
        ReplyDecoder::State state = ReplyDecoder::State::NeedMore;
        for (size_t pos = 0; pos < bytes.size();) {
            const size_t piece = round == 0 ? 1 : 1 + random() % 9000;
            ASSERT_EQ(state, ReplyDecoder::State::NeedMore) << pos;
            state = decoder.Feed(std::string_view(bytes).substr(pos, piece));
            if (round % 2 == 0) // taken as it comes, or left for the answer
                taken += decoder.TakeProgress();
            pos += piece;
        }
        ASSERT_EQ(state, ReplyDecoder::State::Complete);
        EXPECT_EQ(taken + decoder.reply().output, first + second + "last\n") << round;
        EXPECT_EQ(decoder.reply().error, "note");
        EXPECT_TRUE(decoder.queued());
    }
    for (const char* bad : {">\n", ">x\n", ">-1\n", ">99999999999999999999\n", ">1\nab"}) {
        ReplyDecoder decoder;
        EXPECT_EQ(decoder.Feed(bad), ReplyDecoder::State::Bad) << bad;
    }
}

TEST(InstanceChannel, ProgressReachesTheClientBeforeTheAnswer)
{
    PrivateRuntime runtime;
    InstanceLock running("/opt/program");
    ASSERT_EQ(running.TryAcquire(), InstanceLock::State::Acquired);
    std::vector<std::jthread> workers;
    auto released = std::make_shared<std::promise<void>>();
    InstanceServer server(running.socketPath(), [&](std::shared_ptr<PendingRequest> pending) {
        ASSERT_TRUE(pending->Start());
        workers.emplace_back([pending, released] {
            // Like a timer capture: a path per shot, the answer at the end.
            pending->Progress("one\n");
            pending->Progress("two\n");
            released->get_future().wait_for(10s);
            pending->Progress("three\n"); // not sent before the answer: comes with it
            pending->Finish({0, "", {}});
        });
    });
    ASSERT_TRUE(server.listening()) << server.error();

    InstanceLock client("/opt/program");
    std::mutex mutex;
    std::string printed;
    auto waiter = std::async(std::launch::async, [&] {
        ChannelReply reply;
        std::string error;
        const HandOver outcome = HandOverOrLock(client, {"--timer"}, reply, error, {}, -1, [&](const std::string& text) {
            std::lock_guard lock(mutex);
            printed += text;
        });
        return std::make_pair(outcome, reply);
    });
    for (int i = 0; i < 500; ++i) {
        {
            std::lock_guard lock(mutex);
            if (printed == "one\ntwo\n")
                break;
        }
        std::this_thread::sleep_for(10ms);
    }
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(printed, "one\ntwo\n"); // while the work still runs
    }
    released->set_value();
    ASSERT_EQ(waiter.wait_for(5s), std::future_status::ready);
    const auto [outcome, reply] = waiter.get();
    ASSERT_EQ(outcome, HandOver::Answered);
    EXPECT_EQ(printed + reply.output, "one\ntwo\nthree\n");
}
