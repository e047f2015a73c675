#include "base/instance_channel.h"

#include "base/unique_fd.h"

#include <cerrno>
#include <chrono>
#include <algorithm>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>

namespace vistrel {

namespace {

// The running copy says it is working on the request this often; a copy that
// falls silent for much longer is taken to be stuck.
constexpr int kSilenceLimitMs = 30000;
constexpr auto kRetryPause = std::chrono::milliseconds(20);
constexpr auto kWaitBeforeNotice = std::chrono::seconds(3);
constexpr size_t kMaxWords = size_t(1) << 20;

std::string Number(size_t n) { return std::to_string(n) + '\n'; }

UniqueFd ConnectTo(const std::string& socketPath)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof address.sun_path)
        return UniqueFd();
    std::memcpy(address.sun_path, socketPath.data(), socketPath.size());
    UniqueFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd || connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return UniqueFd();
    return fd;
}

bool SendAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(size_t(n));
    }
    return true;
}

enum class Exchange { Answered, NotTaken, Failed };

bool Readable(int fd)
{
    if (fd < 0)
        return false;
    pollfd p {fd, POLLIN, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
}

// waiting: called when the running copy first says the request waits, unless told is set.
Exchange Send(int fd, const ChannelRequest& request, ChannelReply& reply, std::string& error, int interruptFd,
              const std::function<void()>& waiting, bool& told,
              const std::function<void(const std::string&)>& progress)
{
    if (!SendAll(fd, EncodeRequest(request))) {
        error = "the running copy closed the connection";
        return Exchange::Failed;
    }
    ReplyDecoder decoder;
    char buffer[1 << 16];
    for (;;) {
        pollfd p[2] {{fd, POLLIN, 0}, {interruptFd, POLLIN, 0}};
        const int ready = poll(p, interruptFd >= 0 ? 2 : 1, kSilenceLimitMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            error = "the running copy stopped answering";
            return Exchange::Failed;
        }
        if (interruptFd >= 0 && (p[1].revents & POLLIN)) {
            // Asked once; the answer (what was done so far) is still to come.
            const char interrupt = kInterruptByte;
            (void)SendAll(fd, std::string_view(&interrupt, 1));
            interruptFd = -1;
        }
        if (!(p[0].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = "the running copy ended before it answered";
            return Exchange::Failed;
        }
        const ReplyDecoder::State state = decoder.Feed(std::string_view(buffer, size_t(n)));
        if (decoder.queued() && !told && waiting) {
            told = true;
            waiting();
        }
        if (progress && state != ReplyDecoder::State::Bad)
            if (const std::string text = decoder.TakeProgress(); !text.empty())
                progress(text);
        switch (state) {
        case ReplyDecoder::State::NeedMore: continue;
        case ReplyDecoder::State::NotTaken: return Exchange::NotTaken;
        case ReplyDecoder::State::Bad: error = "the running copy gave an answer that makes no sense"; return Exchange::Failed;
        case ReplyDecoder::State::Complete: reply = decoder.reply(); return Exchange::Answered;
        }
    }
}

} // namespace

std::string EncodeRequest(const ChannelRequest& words)
{
    std::string bytes = Number(words.size());
    for (const std::string& word : words)
        bytes += Number(word.size()) + word;
    return bytes;
}

std::string EncodeProgress(std::string_view output)
{
    return kProgressByte + Number(output.size()) + std::string(output);
}

std::string EncodeReply(const ChannelReply& reply)
{
    return "=" + std::to_string(reply.status) + '\n' + Number(reply.output.size()) + reply.output +
           Number(reply.error.size()) + reply.error;
}

RequestDecoder::State RequestDecoder::ParseNumber(char c, size_t& into)
{
    if (c == '\n') {
        if (!m_digits)
            return State::Bad;
        into = m_number;
        m_number = 0;
        m_digits = false;
        return State::Complete;
    }
    if (c < '0' || c > '9' || m_number > kMaxChannelMessageBytes)
        return State::Bad;
    m_number = m_number * 10 + size_t(c - '0');
    m_digits = true;
    return State::NeedMore;
}

RequestDecoder::State RequestDecoder::Finish()
{
    m_step = Step::Done;
    return m_state = State::Complete;
}

RequestDecoder::State RequestDecoder::Feed(std::string_view bytes)
{
    if (m_state != State::NeedMore)
        return m_state = (OnlyInterrupts(bytes) ? m_state : State::Bad); // nothing else may follow a request
    m_total += bytes.size();
    if (m_total > kMaxChannelMessageBytes)
        return m_state = State::Bad;
    size_t i = 0;
    while (i < bytes.size()) {
        if (m_step == Step::Word) {
            std::string& word = m_words.back();
            const size_t take = std::min(m_wanted - word.size(), bytes.size() - i);
            word.append(bytes.substr(i, take));
            i += take;
            if (word.size() < m_wanted)
                break;
            if (m_words.size() == m_count)
                Finish();
            else
                m_step = Step::Length;
            continue;
        }
        if (m_step == Step::Done)
            break; // what follows is looked at below
        size_t value = 0;
        const State s = ParseNumber(bytes[i++], value);
        if (s == State::Bad)
            return m_state = State::Bad;
        if (s == State::NeedMore)
            continue;
        if (m_step == Step::Count) {
            if (value > kMaxWords)
                return m_state = State::Bad;
            m_count = value;
            m_words.reserve(std::min<size_t>(value, 64));
            if (value == 0)
                Finish();
            else
                m_step = Step::Length;
        } else {
            if (value > kMaxChannelMessageBytes)
                return m_state = State::Bad;
            m_wanted = value;
            m_words.emplace_back();
            if (value == 0) {
                if (m_words.size() == m_count)
                    Finish();
            } else {
                m_step = Step::Word;
                // Grows with what arrives, not with what the length claims.
            }
        }
    }
    if (m_step == Step::Done && !OnlyInterrupts(bytes.substr(i)))
        return m_state = State::Bad;
    return m_state;
}

bool RequestDecoder::OnlyInterrupts(std::string_view bytes)
{
    if (bytes.find_first_not_of(kInterruptByte) != std::string_view::npos)
        return false;
    m_interrupted = m_interrupted || !bytes.empty();
    return true;
}

ReplyDecoder::State ReplyDecoder::FeedProgress(std::string_view& bytes)
{
    while (m_inProgressLength && !bytes.empty()) {
        const char c = bytes.front();
        bytes.remove_prefix(1);
        if (c == '\n') {
            if (!m_progressDigits)
                return m_state = State::Bad;
            m_inProgressLength = false;
            m_progressWanted = std::exchange(m_progressNumber, 0);
            m_progressDigits = false;
        } else if (c >= '0' && c <= '9') {
            m_progressNumber = m_progressNumber * 10 + size_t(c - '0');
            m_progressDigits = true;
            if (m_progressNumber > kMaxChannelMessageBytes)
                return m_state = State::Bad;
        } else {
            return m_state = State::Bad;
        }
    }
    const size_t take = std::min(m_progressWanted, bytes.size());
    m_progress.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    m_progressWanted -= take;
    // Progress nobody takes stays until the answer, within the usual bound.
    if (m_progress.size() > kMaxChannelMessageBytes)
        return m_state = State::Bad;
    return m_state;
}

ReplyDecoder::State ReplyDecoder::Feed(std::string_view bytes)
{
    if (m_state != State::NeedMore)
        return m_state;
    while (!bytes.empty() && !m_started) {
        if (m_inProgressLength || m_progressWanted > 0) {
            if (FeedProgress(bytes) != State::NeedMore)
                return m_state;
            continue;
        }
        const char c = bytes.front();
        bytes.remove_prefix(1);
        if (c == kWorkingByte)
            continue;
        if (c == kQueuedByte) {
            m_queued = true;
            continue;
        }
        if (c == kProgressByte) {
            m_inProgressLength = true;
            continue;
        }
        if (c == '-')
            return m_state = State::NotTaken;
        if (c != '=')
            return m_state = State::Bad;
        m_started = true;
    }
    if (!m_started)
        return m_state;
    m_body.append(bytes);
    if (m_body.size() > 3 * kMaxChannelMessageBytes)
        return m_state = State::Bad;

    // status \n outLength \n out errLength \n err
    auto number = [&](size_t& pos, long long& value) -> std::optional<bool> {
        const size_t end = m_body.find('\n', pos);
        if (end == std::string::npos)
            return std::nullopt;
        const std::string text = m_body.substr(pos, end - pos);
        char* stop = nullptr;
        errno = 0;
        value = std::strtoll(text.c_str(), &stop, 10);
        pos = end + 1;
        return !text.empty() && stop && *stop == '\0' && errno == 0;
    };
    size_t pos = 0;
    long long status = 0, outLength = 0, errLength = 0;
    auto ok = number(pos, status);
    if (!ok)
        return m_state;
    if (!*ok)
        return m_state = State::Bad;
    ok = number(pos, outLength);
    if (!ok)
        return m_state;
    if (!*ok || outLength < 0 || size_t(outLength) > kMaxChannelMessageBytes)
        return m_state = State::Bad;
    if (m_body.size() - pos < size_t(outLength))
        return m_state;
    const size_t outStart = pos;
    pos += size_t(outLength);
    ok = number(pos, errLength);
    if (!ok)
        return m_state;
    if (!*ok || errLength < 0 || size_t(errLength) > kMaxChannelMessageBytes)
        return m_state = State::Bad;
    if (m_body.size() - pos < size_t(errLength))
        return m_state;
    if (m_body.size() - pos > size_t(errLength))
        return m_state = State::Bad;
    m_reply.status = int(status);
    m_reply.output = std::exchange(m_progress, {}) + m_body.substr(outStart, size_t(outLength));
    m_reply.error = m_body.substr(pos);
    return m_state = State::Complete;
}

HandOver HandOverOrLock(InstanceLock& lock, const ChannelRequest& request, ChannelReply& reply, std::string& error,
                        const std::function<void()>& waiting, int interruptFd,
                        const std::function<void(const std::string&)>& progress)
{
    const auto start = std::chrono::steady_clock::now();
    bool told = false;
    for (;;) {
        switch (lock.TryAcquire()) {
        case InstanceLock::State::Acquired: return HandOver::LockAcquired;
        case InstanceLock::State::Unavailable: error = lock.error(); return HandOver::Failed;
        case InstanceLock::State::HeldByAnother: break;
        }
        if (Readable(interruptFd)) {
            error = "interrupted while waiting for another run of Vistrel";
            return HandOver::Failed;
        }
        // The holder is a copy with a window once it listens; until then it is
        // still starting, or a command-line run that will end by itself.
        if (UniqueFd fd = ConnectTo(lock.socketPath())) {
            switch (Send(fd.get(), request, reply, error, interruptFd, waiting, told, progress)) {
            case Exchange::Answered: return HandOver::Answered;
            case Exchange::Failed: return HandOver::Failed;
            case Exchange::NotTaken: break; // it is ending: the lock comes free soon
            }
        }
        if (!told && waiting && std::chrono::steady_clock::now() - start > kWaitBeforeNotice) {
            told = true;
            waiting();
        }
        std::this_thread::sleep_for(kRetryPause);
    }
}

} // namespace vistrel
