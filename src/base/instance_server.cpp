#include "base/instance_server.h"

#include <cerrno>
#include <chrono>
#include <algorithm>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <vector>

namespace vistrel {

// Wakes the server's thread from its poll: a request finished, or it must stop.
class ServerWakeUp {
public:
    ServerWakeUp() : m_fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    int fd() const { return m_fd.get(); }
    void Signal()
    {
        const uint64_t one = 1;
        (void)!write(m_fd.get(), &one, sizeof one);
    }
    void Drain()
    {
        uint64_t count = 0;
        (void)!read(m_fd.get(), &count, sizeof count);
    }

private:
    UniqueFd m_fd;
};

namespace {

constexpr auto kHeartbeat = std::chrono::seconds(1);
constexpr int kListenBacklog = 16;
// How long an ending program lets its last answers take, all together.
constexpr auto kFinalAnswerTime = std::chrono::seconds(2);

using Clock = std::chrono::steady_clock;

struct Client {
    UniqueFd fd;
    RequestDecoder decoder;
    std::shared_ptr<PendingRequest> pending;
    std::string out; // progress, or the answer once final
    size_t sent = 0;
    bool final = false;
    Clock::time_point lastBeat;
    bool done = false; // to be dropped
};

// False when the client is gone.
bool SendSome(Client& client)
{
    while (client.sent < client.out.size()) {
        const ssize_t n = send(client.fd.get(), client.out.data() + client.sent, client.out.size() - client.sent,
                               MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        if (n <= 0)
            return false;
        client.sent += size_t(n);
    }
    return true;
}

// The client asked for the end: work not started is withdrawn and answered
// at once, work under way is told.
void InterruptPending(Client& client)
{
    if (client.pending->Withdraw()) {
        client.out = EncodeReply({1, {}, "ended before it began"});
        client.sent = 0;
        client.final = true;
        if (!SendSome(client) || client.sent == client.out.size())
            client.done = true;
        return;
    }
    client.pending->Interrupt();
}

void ReadRequest(Client& client, const InstanceServer::Dispatch& dispatch, const std::shared_ptr<ServerWakeUp>& wake)
{
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = recv(client.fd.get(), buffer, sizeof buffer, MSG_DONTWAIT);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (n <= 0) { // gone before the request was whole
            client.done = true;
            return;
        }
        switch (client.decoder.Feed(std::string_view(buffer, size_t(n)))) {
        case RequestDecoder::State::NeedMore: continue;
        case RequestDecoder::State::Bad: client.done = true; return;
        case RequestDecoder::State::Complete:
            client.pending = std::make_shared<PendingRequest>(client.decoder.words(), wake);
            client.lastBeat = Clock::now();
            dispatch(client.pending);
            if (client.decoder.interrupted())
                InterruptPending(client);
            return;
        }
    }
}

// A client whose request is pending sends nothing but the interrupt byte.
void ReadWhileWaiting(Client& client)
{
    char buffer[64];
    const ssize_t n = recv(client.fd.get(), buffer, sizeof buffer, MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return;
    if (n <= 0 || std::string_view(buffer, size_t(n)).find_first_not_of(kInterruptByte) != std::string_view::npos) {
        client.done = true; // gone, or not one of ours
        return;
    }
    InterruptPending(client);
}

} // namespace

PendingRequest::PendingRequest(ChannelRequest words, std::shared_ptr<ServerWakeUp> wake)
    : m_words(std::move(words)), m_wake(std::move(wake))
{
}

bool PendingRequest::Start()
{
    int expected = kQueued;
    return m_state.compare_exchange_strong(expected, kRunning);
}

bool PendingRequest::Withdraw()
{
    int expected = kQueued;
    return m_state.compare_exchange_strong(expected, kWithdrawn);
}

void PendingRequest::Finish(ChannelReply reply)
{
    {
        std::lock_guard lock(m_mutex);
        m_reply = std::move(reply);
    }
    m_state.store(kDone);
    m_wake->Signal();
}

void PendingRequest::Progress(std::string output)
{
    {
        std::lock_guard lock(m_mutex);
        m_progress += output;
    }
    m_wake->Signal();
}

std::string PendingRequest::TakeProgress()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_progress, {});
}

void PendingRequest::OnInterrupt(std::function<void()> handler)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_interrupted) {
            m_onInterrupt = std::move(handler);
            return;
        }
    }
    handler();
}

void PendingRequest::Interrupt()
{
    std::function<void()> handler;
    {
        std::lock_guard lock(m_mutex);
        if (m_interrupted)
            return;
        m_interrupted = true;
        handler = std::move(m_onInterrupt);
    }
    if (handler)
        handler();
}

ChannelReply PendingRequest::TakeReply()
{
    std::lock_guard lock(m_mutex);
    m_reply.output.insert(0, std::exchange(m_progress, {}));
    return std::move(m_reply);
}

InstanceServer::InstanceServer(const std::string& socketPath, Dispatch dispatch)
    : m_socketPath(socketPath), m_dispatch(std::move(dispatch)), m_wake(std::make_shared<ServerWakeUp>())
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path) {
        m_error = "the socket path is unusable: " + socketPath;
        return;
    }
    std::memcpy(address.sun_path, socketPath.data(), socketPath.size());
    UniqueFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    unlink(socketPath.c_str());
    if (!fd || bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        chmod(socketPath.c_str(), 0600) != 0 || listen(fd.get(), kListenBacklog) != 0) {
        m_error = "cannot listen on " + socketPath + ": " + std::strerror(errno);
        return;
    }
    m_listenFd = std::move(fd);
    m_thread = std::jthread([this](std::stop_token stop) { Run(stop); });
}

InstanceServer::~InstanceServer()
{
    if (!m_thread.joinable())
        return;
    m_thread.request_stop();
    m_wake->Signal();
    m_thread.join();
    unlink(m_socketPath.c_str());
}

void InstanceServer::Run(std::stop_token stop)
{
    std::vector<std::unique_ptr<Client>> clients;
    std::vector<pollfd> fds;
    while (!stop.stop_requested()) {
        const auto now = Clock::now();
        int timeoutMs = -1;
        fds.assign({{m_wake->fd(), POLLIN, 0}, {m_listenFd.get(), POLLIN, 0}});
        for (const auto& client : clients) {
            short events = POLLIN;
            if (client->pending) {
                events = POLLRDHUP;
                if (!client->out.empty())
                    events |= POLLOUT; // the answer goes out; what the client sends now no longer matters
                else {
                    events |= POLLIN;
                    const auto due = std::chrono::duration_cast<std::chrono::milliseconds>(
                        client->lastBeat + kHeartbeat - now);
                    const int dueMs = int(std::max<int64_t>(0, due.count()));
                    timeoutMs = timeoutMs < 0 ? dueMs : std::min(timeoutMs, dueMs);
                }
            }
            fds.push_back({client->fd.get(), events, 0});
        }
        if (poll(fds.data(), nfds_t(fds.size()), timeoutMs) < 0 && errno != EINTR)
            break;
        if (fds[0].revents)
            m_wake->Drain();
        if (fds[1].revents & POLLIN) {
            for (;;) {
                const int fd = accept4(m_listenFd.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
                if (fd < 0)
                    break;
                auto client = std::make_unique<Client>();
                client->fd = UniqueFd(fd);
                clients.push_back(std::move(client));
            }
        }
        for (size_t i = 0; i + 2 < fds.size(); ++i) {
            Client& client = *clients[i];
            const short revents = fds[i + 2].revents;
            if (!client.pending) {
                if (revents)
                    ReadRequest(client, m_dispatch, m_wake);
                continue;
            }
            if (!client.out.empty()) {
                if (!SendSome(client))
                    client.done = true;
                else if (client.sent == client.out.size() && client.final)
                    client.done = true;
                else if (client.sent == client.out.size()) { // progress gone out: back to waiting
                    client.out.clear();
                    client.sent = 0;
                }
                continue;
            }
            if (revents & POLLIN) {
                ReadWhileWaiting(client);
                if (!client.done && !client.out.empty())
                    continue; // withdrawn: its answer is on its way
            }
            if (client.done || (revents & (POLLRDHUP | POLLHUP | POLLERR))) {
                // Not started: it never will be. Under way: nobody waits for it.
                if (!client.pending->Withdraw())
                    client.pending->Interrupt();
                client.done = true;
                continue;
            }
            if (client.pending->finished()) {
                client.out = EncodeReply(client.pending->TakeReply());
                client.final = true;
                if (!SendSome(client) || client.sent == client.out.size())
                    client.done = true;
            } else if (std::string progress = client.pending->TakeProgress(); !progress.empty()) {
                client.out = EncodeProgress(progress);
                client.lastBeat = Clock::now(); // as good as a beat
                if (!SendSome(client)) {
                    client.done = true;
                } else if (client.sent == client.out.size()) {
                    client.out.clear();
                    client.sent = 0;
                }
            } else if (Clock::now() - client.lastBeat >= kHeartbeat) {
                client.lastBeat = Clock::now();
                const char beat = client.pending->queued() ? kQueuedByte : kWorkingByte;
                if (send(client.fd.get(), &beat, 1, MSG_NOSIGNAL | MSG_DONTWAIT) < 0 && errno != EAGAIN &&
                    errno != EWOULDBLOCK && errno != EINTR)
                    client.done = true;
            }
        }
        std::erase_if(clients, [](const auto& c) { return c->done; });
    }
    // Requests not started yet are given back: their clients carry on by
    // themselves once this copy has let go of the lock. Answers already there
    // (work the ending program finished) still go out.
    const auto giveUpAt = Clock::now() + kFinalAnswerTime;
    for (auto& client : clients) {
        if (!client->pending)
            continue;
        if (client->pending->Withdraw()) {
            (void)!send(client->fd.get(), "-", 1, MSG_NOSIGNAL | MSG_DONTWAIT);
            continue;
        }
        if (!client->final && client->pending->finished()) {
            // After the rest of any progress on its way.
            client->out = client->out.substr(client->sent) + EncodeReply(client->pending->TakeReply());
            client->sent = 0;
            client->final = true;
        }
        while (!client->out.empty() && SendSome(*client) && client->sent < client->out.size()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(giveUpAt - Clock::now());
            pollfd p {client->fd.get(), POLLOUT, 0};
            if (left.count() <= 0 || poll(&p, 1, int(left.count())) <= 0)
                break;
        }
    }
}

} // namespace vistrel
