#pragma once
// The line between copies of the program: a later copy sends the running copy
// one request (its command-line words) over a local socket and gets back an
// exit status and the texts to print. The request "32863" asks the running
// copy to show its main window.
//
// Framing, both ways length-prefixed, so any word (empty, with line breaks,
// megabytes long) arrives as it was sent:
//   request: the number of words, then each word as its byte length and its
//            bytes; every number in decimal on a line of its own.
//   reply:   any number of '.' (the running copy is working on it), ':' (it
//            waits for work before it, a capture in progress) and '>' output
//            length, output (output of long work, such as a timer capture's
//            paths, as it is made), then '=' status, output length, output,
//            error length, error; or a lone '-' when the running copy ends
//            without having started it.
// While it waits, the client may send kInterruptByte once: end the work early.

#include "base/instance_lock.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vistrel {

using ChannelRequest = std::vector<std::string>;

struct ChannelReply {
    int status = 0;
    std::string output; // for stdout
    std::string error;  // for stderr
};

// Anything longer is not from a copy of ours. Well above what a command line
// can hold, so every command the command line takes also goes through.
constexpr size_t kMaxChannelMessageBytes = size_t(256) << 20;
constexpr char kInterruptByte = '!';
constexpr char kWorkingByte = '.';
constexpr char kQueuedByte = ':';
constexpr char kProgressByte = '>';

std::string EncodeRequest(const ChannelRequest& words);
std::string EncodeReply(const ChannelReply& reply);
std::string EncodeProgress(std::string_view output);

// Takes a message as it arrives, in pieces of any size; each byte is looked at
// once, so a large request costs no more than its length.
class RequestDecoder {
public:
    enum class State { NeedMore, Complete, Bad };
    State Feed(std::string_view bytes);
    const ChannelRequest& words() const { return m_words; }
    // The interrupt byte came right behind the request.
    bool interrupted() const { return m_interrupted; }

private:
    State ParseNumber(char c, size_t& into);
    State Finish();
    bool OnlyInterrupts(std::string_view bytes); // notes them

    enum class Step { Count, Length, Word, Done } m_step = Step::Count;
    State m_state = State::NeedMore;
    size_t m_number = 0;
    bool m_digits = false;
    size_t m_count = 0;
    size_t m_wanted = 0;
    size_t m_total = 0;
    bool m_interrupted = false;
    ChannelRequest m_words;
};

class ReplyDecoder {
public:
    enum class State { NeedMore, Complete, NotTaken, Bad };
    State Feed(std::string_view bytes);
    // Once complete: the output includes whatever progress was not taken.
    const ChannelReply& reply() const { return m_reply; }
    // The running copy said the request waits for work before it.
    bool queued() const { return m_queued; }
    // The progress output that arrived since the last call.
    std::string TakeProgress() { return std::exchange(m_progress, {}); }

private:
    State FeedProgress(std::string_view& bytes); // inside a '>' frame

    State m_state = State::NeedMore;
    bool m_started = false;
    bool m_queued = false;
    bool m_inProgressLength = false;
    bool m_progressDigits = false;
    size_t m_progressNumber = 0;
    size_t m_progressWanted = 0;
    std::string m_progress;
    std::string m_body;
    ChannelReply m_reply;
};

enum class HandOver {
    Answered,     // reply holds the running copy's answer
    LockAcquired, // no copy runs (any more): this process holds the lock now
    Failed,       // error says why
};

// Waits until this process holds the lock, or the copy that holds it has
// carried out the request. A holder that never listens (another command-line
// run) is waited out; waiting() is called once if that takes a while, or as
// soon as the running copy says the request waits for work before it. Once the
// running copy has the request, the wait lasts as long as it reports working.
// interruptFd, when given, is watched throughout: once it is readable, a
// handed-over request is asked to end early (and the answer still waited for),
// and a wait for the lock gives up. progress, when given, gets the running
// copy's progress output as it arrives; without it, that output comes at the
// front of the reply's output.
HandOver HandOverOrLock(InstanceLock& lock, const ChannelRequest& request, ChannelReply& reply, std::string& error,
                        const std::function<void()>& waiting = {}, int interruptFd = -1,
                        const std::function<void(const std::string&)>& progress = {});

} // namespace vistrel
