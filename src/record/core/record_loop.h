#pragma once
// The recording loop without the screen or the file: two threads joined by a
// small pool of frame buffers.
//
// The grab thread keeps the clock (frame_clock.h): at each slot it grabs the
// area into a free buffer and queues it. The encode thread compresses and
// writes queued frames. When every buffer is in use (the compressor is behind),
// the grab of that slot is dropped and its position stays empty: a slow
// compressor loses frames, never time, and never delays the next grab. When the
// source can tell that nothing in the area changed, the grab is skipped too and
// the position stays empty, but a real frame is still taken at least every
// key-frame distance, and at the end, so the file runs to the last slot.
//
// Threads: RunRecording runs the grab loop on a thread of its own and the
// encode loop on the calling thread; the source is used only by the grab
// thread, the sink only by the calling thread.

#include "codec/bitmap.h"
#include "record/core/record_options.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace vistrel {

struct RecordPoint {
    int x = 0;
    int y = 0;
};

// The screen side.
class FrameSource {
public:
    virtual ~FrameSource() = default;
    // The pointer's screen position, for auto-pan; nullopt when unknown.
    virtual std::optional<RecordPoint> CursorPosition() = 0;
    // Whether anything in the area, cursor included, may have changed since the
    // last Grab. A source that cannot tell answers true. An answer of true is
    // followed at once by the Grab.
    virtual bool MayHaveChanged(const RecordRegion& area) = 0;
    // The area's pixels, cursor drawn, into frame (already of the area's size).
    virtual bool Grab(const RecordRegion& area, Bitmap& frame, std::string& error) = 0;
};

// The file side: compresses a frame and writes it at a position of the stream.
class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual bool Write(const Bitmap& frame, int64_t position, std::string& error) = 0;
};

// Told of each real grab of the screen on the grab thread (not of slots left
// empty because nothing changed or no buffer was free): GrabBegins before the
// pixels are copied, GrabEnded after, also when the grab failed. With auto-pan,
// PanTo is asked before each slot's grab which area it takes. None of them may
// wait for anything slow: the grab keeps its schedule.
class GrabWatch {
public:
    virtual ~GrabWatch() = default;
    // Auto-pan wants to move the area from current to wanted (equal when it
    // stays): the area to grab now, one of the two.
    virtual RecordRegion PanTo(const RecordRegion& current, const RecordRegion& wanted) = 0;
    virtual void GrabBegins(const RecordRegion& area) = 0;
    virtual void GrabEnded(const RecordRegion& area) = 0;
};

class RecordClock {
public:
    virtual ~RecordClock() = default;
    virtual int64_t NowMs() = 0;
    // Sleeps ms, or less when a stop is requested meanwhile.
    virtual void Sleep(int64_t ms, std::stop_token stop) = 0;
};

// std::chrono::steady_clock; a stop request wakes the sleep at once.
class SteadyRecordClock : public RecordClock {
public:
    int64_t NowMs() override;
    void Sleep(int64_t ms, std::stop_token stop) override;
};

struct RecordFrame {
    Bitmap pixels;
    int64_t position = 0;
};

// Frame buffers: free ones, and filled ones waiting for the encode thread. At
// most `capacity` exist; each is allocated on first need.
class FrameExchange {
public:
    using Allocate = std::function<Bitmap(int width, int height)>;
    FrameExchange(int width, int height, size_t capacity, Allocate allocate = {});

    // A free buffer, or null when all are in use. Throws std::bad_alloc when a
    // new one cannot be allocated.
    std::unique_ptr<RecordFrame> TakeFree();
    // The same, but waits for one to come back (null once closed).
    std::unique_ptr<RecordFrame> TakeFreeWaiting();
    void Push(std::unique_ptr<RecordFrame> frame); // dropped when closed
    // The oldest filled frame; null once closed and drained.
    std::unique_ptr<RecordFrame> Pop();
    void GiveBack(std::unique_ptr<RecordFrame> frame);
    // No more frames will come; Pop drains what is queued, then returns null.
    void Close();

private:
    int m_width, m_height;
    size_t m_capacity;
    Allocate m_allocate;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::unique_ptr<RecordFrame>> m_free;
    std::vector<std::unique_ptr<RecordFrame>> m_filled; // oldest first
    size_t m_made = 0;
    bool m_closed = false;
};

struct RecordStats {
    std::atomic<int64_t> grabs{0};       // frames grabbed from the screen
    std::atomic<int64_t> unchanged{0};   // slots left empty: nothing had changed
    std::atomic<int64_t> dropped{0};     // slots left empty: no free buffer
    std::atomic<int64_t> written{0};     // frames compressed and written
    std::atomic<int64_t> positions{0};   // length of the stream so far
};

struct GrabSettings {
    int intervalMs = 50;
    int playbackFps = 20;
    int keyFrameEvery = 20;
    RecordRegion area;  // its size is the frame size
    bool autoPan = false;
    int autoPanSpeed = 20;
    int screenWidth = 0;
    int screenHeight = 0;
};

// The grab thread's loop, until stop is requested or something fails; closes
// the exchange when it ends. started is called at the moment the recording's
// time begins (its first grab). The error, or empty after a stop.
// watch, when given, is told of each grab.
std::string RunGrabLoop(FrameSource& source, RecordClock& clock, FrameExchange& exchange,
                        const GrabSettings& settings, std::stop_token stop, RecordStats& stats,
                        const std::function<void()>& started = {}, GrabWatch* watch = nullptr);

// The encode thread's loop, until the exchange is closed and drained or the
// sink fails. progress is called about once per second of the stream.
std::string RunEncodeLoop(FrameSink& sink, FrameExchange& exchange, int playbackFps, RecordStats& stats,
                          const std::function<void()>& progress = {});

struct RecordOutcome {
    std::string error; // empty: ended by a stop
};

// Both loops, until stop is requested or one of them fails. The sink is not
// finished here: the caller closes the file whatever the outcome.
struct RecordHooks {
    std::function<void()> started;  // grab thread, once, as the first frame is grabbed
    std::function<void()> progress; // encode thread, about once per second of the stream
    std::function<void()> threadStarts; // the grab thread, first thing (its priority, say)
    GrabWatch* grabWatch = nullptr;     // told of each grab
};
RecordOutcome RunRecording(FrameSource& source, FrameSink& sink, RecordClock& clock, const GrabSettings& settings,
                           std::stop_token stop, RecordStats& stats, const RecordHooks& hooks = {},
                           size_t buffers = 4, FrameExchange::Allocate allocate = {});

} // namespace vistrel
