#pragma once
// The running copy's end of the line between copies. A thread of its own
// accepts connections and reads requests, so a client is served however busy
// the user-interface thread is; each complete request is handed to dispatch,
// which arranges for it to be carried out (the program posts it to its
// user-interface thread) and calls Finish. While that takes, the client is told
// every second whether its request still waits (for a capture in progress) or
// is under way; a client that hangs up before its request has started
// withdraws it. A client may send kInterruptByte while it waits:
// work not started is withdrawn, work under way that can end early ends.

#include "base/instance_channel.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace vistrel {

class ServerWakeUp;

// One request on its way. Shared between the server's thread and whoever
// carries it out; any thread may call its methods.
class PendingRequest {
public:
    PendingRequest(ChannelRequest words, std::shared_ptr<ServerWakeUp> wake);
    const ChannelRequest& words() const { return m_words; }
    // Call before carrying it out: false when it was withdrawn (the client went
    // away, or the server is ending), and then it must not be carried out.
    bool Start();
    void Finish(ChannelReply reply);
    // Output of work under way, for the client to print now (a timer capture's
    // paths as they are saved). What has not gone out by Finish goes at the
    // front of the reply's output.
    void Progress(std::string output);
    // Work that can be ended early (a recording) says how: handler runs once
    // when the client asks for the end or goes away, on the server's thread,
    // or at once here when that has already happened.
    void OnInterrupt(std::function<void()> handler);

    // For the server's thread.
    bool Withdraw(); // true when it had not started yet
    void Interrupt();
    bool finished() const { return m_state.load() == kDone; }
    bool queued() const { return m_state.load() == kQueued; }
    bool withdrawn() const { return m_state.load() == kWithdrawn; }
    ChannelReply TakeReply();
    std::string TakeProgress();

private:
    static constexpr int kQueued = 0, kRunning = 1, kWithdrawn = 2, kDone = 3;
    ChannelRequest m_words;
    std::shared_ptr<ServerWakeUp> m_wake;
    std::atomic<int> m_state {kQueued};
    std::mutex m_mutex;
    ChannelReply m_reply;
    std::string m_progress;
    bool m_interrupted = false;
    std::function<void()> m_onInterrupt;
};

class InstanceServer {
public:
    using Dispatch = std::function<void(std::shared_ptr<PendingRequest>)>;

    // Listens on socketPath (a stale socket file there is replaced: the caller
    // holds the instance lock). dispatch runs on the server's thread.
    InstanceServer(const std::string& socketPath, Dispatch dispatch);
    ~InstanceServer(); // withdraws what has not started, stops and joins the thread
    InstanceServer(const InstanceServer&) = delete;
    InstanceServer& operator=(const InstanceServer&) = delete;

    bool listening() const { return m_listenFd.valid(); }
    const std::string& error() const { return m_error; }

private:
    void Run(std::stop_token stop);

    std::string m_socketPath;
    Dispatch m_dispatch;
    std::string m_error;
    UniqueFd m_listenFd;
    std::shared_ptr<ServerWakeUp> m_wake;
    std::jthread m_thread; // last: started once everything above exists
};

} // namespace vistrel
