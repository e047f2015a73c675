#include "record/core/record_loop.h"

#include "record/core/frame_clock.h"
#include "record/core/record_geometry.h"

#include <chrono>
#include <new>
#include <thread>

namespace vistrel {

int64_t SteadyRecordClock::NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyRecordClock::Sleep(int64_t ms, std::stop_token stop)
{
    if (ms <= 0 || stop.stop_requested())
        return;
    std::mutex mutex;
    std::condition_variable_any woken;
    std::unique_lock lock(mutex);
    woken.wait_for(lock, stop, std::chrono::milliseconds(ms), [] { return false; });
}

FrameExchange::FrameExchange(int width, int height, size_t capacity, Allocate allocate)
    : m_width(width), m_height(height), m_capacity(capacity), m_allocate(std::move(allocate))
{
    if (!m_allocate)
        m_allocate = [](int w, int h) { return Bitmap(w, h); };
}

std::unique_ptr<RecordFrame> FrameExchange::TakeFree()
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_free.empty()) {
            auto frame = std::move(m_free.back());
            m_free.pop_back();
            return frame;
        }
        if (m_made >= m_capacity)
            return nullptr;
        ++m_made; // counted before the allocation, given back if it fails
    }
    try {
        auto frame = std::make_unique<RecordFrame>();
        frame->pixels = m_allocate(m_width, m_height);
        if (!frame->pixels.holdsAllPixels() || frame->pixels.width != m_width || frame->pixels.height != m_height)
            throw std::bad_alloc();
        return frame;
    } catch (...) {
        std::lock_guard lock(m_mutex);
        --m_made;
        throw;
    }
}

std::unique_ptr<RecordFrame> FrameExchange::TakeFreeWaiting()
{
    if (auto frame = TakeFree())
        return frame;
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return !m_free.empty() || m_closed; });
    if (m_free.empty())
        return nullptr;
    auto frame = std::move(m_free.back());
    m_free.pop_back();
    return frame;
}

void FrameExchange::Push(std::unique_ptr<RecordFrame> frame)
{
    std::lock_guard lock(m_mutex);
    if (m_closed)
        return;
    m_filled.push_back(std::move(frame));
    m_changed.notify_all();
}

std::unique_ptr<RecordFrame> FrameExchange::Pop()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return !m_filled.empty() || m_closed; });
    if (m_filled.empty())
        return nullptr;
    auto frame = std::move(m_filled.front());
    m_filled.erase(m_filled.begin());
    return frame;
}

void FrameExchange::GiveBack(std::unique_ptr<RecordFrame> frame)
{
    std::lock_guard lock(m_mutex);
    m_free.push_back(std::move(frame));
    m_changed.notify_all();
}

void FrameExchange::Close()
{
    std::lock_guard lock(m_mutex);
    m_closed = true;
    m_changed.notify_all();
}

namespace {

// Tells the watch of a grab: its end too when the source throws.
class GrabNotice {
public:
    GrabNotice(GrabWatch* watch, const RecordRegion& area) : m_watch(watch), m_area(area)
    {
        if (m_watch)
            m_watch->GrabBegins(m_area);
    }
    ~GrabNotice()
    {
        if (m_watch)
            m_watch->GrabEnded(m_area);
    }
    GrabNotice(const GrabNotice&) = delete;
    GrabNotice& operator=(const GrabNotice&) = delete;

private:
    GrabWatch* m_watch;
    RecordRegion m_area;
};

class GrabLoop {
public:
    GrabLoop(FrameSource& source, RecordClock& clock, FrameExchange& exchange, const GrabSettings& settings,
             RecordStats& stats, GrabWatch* watch)
        : m_source(source), m_clock(clock), m_exchange(exchange), m_settings(settings), m_stats(stats), m_watch(watch),
          m_frameClock(settings.intervalMs, settings.playbackFps), m_area(settings.area),
          m_pan(settings.autoPan && CanAutoPan(settings.area.width(), settings.area.height(), settings.screenWidth,
                                               settings.screenHeight))
    {
    }

    std::string Run(std::stop_token stop, const std::function<void()>& started)
    {
        const int64_t start = m_clock.NowMs();
        if (started)
            started();
        bool first = true;
        while (!stop.stop_requested()) {
            const int64_t elapsed = first ? 0 : m_clock.NowMs() - start;
            first = false;
            if (const auto position = m_frameClock.Take(elapsed)) {
                if (std::string error = Slot(*position); !error.empty())
                    return error;
            }
            const int64_t due = m_frameClock.NextDueMs();
            while (!stop.stop_requested()) {
                const int64_t slice = SleepSliceMs(m_clock.NowMs() - start, due);
                if (slice <= 0)
                    break;
                m_clock.Sleep(slice, stop);
            }
        }
        // The slots after the last real frame were left empty because nothing
        // changed; one more frame carries the file to the end of the recording.
        if (m_tailUnchanged)
            return Grab(m_lastTaken, true);
        return {};
    }

private:
    std::string Slot(int64_t position)
    {
        m_lastTaken = position;
        m_tailUnchanged = false;
        if (m_pan) {
            RecordRegion wanted = m_area;
            if (const auto cursor = m_source.CursorPosition())
                wanted = AutoPanStep(m_area, cursor->x, cursor->y, m_settings.screenWidth, m_settings.screenHeight,
                                     m_settings.autoPanSpeed);
            // The watch may hold the area back while something marking it is in the way.
            m_area = m_watch ? m_watch->PanTo(m_area, wanted) : wanted;
        }
        const bool maySkip = MaySkipUnchanged(position, m_lastReal, m_settings.keyFrameEvery) && m_area == m_lastArea;
        return Grab(position, false, maySkip);
    }

    // The buffer is taken before the source is asked whether anything changed,
    // so that a look that answers "changed" is always followed by its grab.
    std::string Grab(int64_t position, bool wait, bool maySkip = false)
    {
        std::unique_ptr<RecordFrame> frame;
        try {
            frame = wait ? m_exchange.TakeFreeWaiting() : m_exchange.TakeFree();
        } catch (const std::bad_alloc&) {
            return "not enough memory for a frame of " + std::to_string(m_area.width()) + " x " +
                   std::to_string(m_area.height()) + " pixels";
        }
        if (!frame) {
            ++m_stats.dropped;
            return {};
        }
        if (maySkip && !m_source.MayHaveChanged(m_area)) {
            m_exchange.GiveBack(std::move(frame));
            ++m_stats.unchanged;
            m_tailUnchanged = true;
            return {};
        }
        std::string error;
        bool grabbed = false;
        {
            const GrabNotice notice(m_watch, m_area);
            grabbed = m_source.Grab(m_area, frame->pixels, error);
        }
        if (!grabbed) {
            m_exchange.GiveBack(std::move(frame));
            return error.empty() ? "cannot grab the screen" : error;
        }
        frame->position = position;
        m_exchange.Push(std::move(frame));
        ++m_stats.grabs;
        m_lastReal = position;
        m_lastArea = m_area;
        return {};
    }

    FrameSource& m_source;
    RecordClock& m_clock;
    FrameExchange& m_exchange;
    const GrabSettings& m_settings;
    RecordStats& m_stats;
    GrabWatch* m_watch;
    FrameClock m_frameClock;
    RecordRegion m_area;
    RecordRegion m_lastArea;
    bool m_pan;
    std::optional<int64_t> m_lastReal;
    int64_t m_lastTaken = -1;
    bool m_tailUnchanged = false; // the last slot was left out as unchanged
};

} // namespace

std::string RunGrabLoop(FrameSource& source, RecordClock& clock, FrameExchange& exchange,
                        const GrabSettings& settings, std::stop_token stop, RecordStats& stats,
                        const std::function<void()>& started, GrabWatch* watch)
{
    std::string error;
    try {
        error = GrabLoop(source, clock, exchange, settings, stats, watch).Run(stop, started);
    } catch (const std::exception& e) { // out of memory in the source, say
        error = std::string("the screen grab failed: ") + e.what();
    }
    exchange.Close();
    return error;
}

std::string RunEncodeLoop(FrameSink& sink, FrameExchange& exchange, int playbackFps, RecordStats& stats,
                          const std::function<void()>& progress)
{
    std::optional<int64_t> lastWritten;
    int64_t nextReport = std::max(playbackFps, 1);
    while (auto frame = exchange.Pop()) {
        if (lastWritten && frame->position <= *lastWritten) { // never happens; never write it twice
            exchange.GiveBack(std::move(frame));
            continue;
        }
        for (int64_t position : PositionsToWrite(lastWritten, frame->position)) {
            std::string error;
            bool ok = false;
            try {
                ok = sink.Write(frame->pixels, position, error);
            } catch (const std::exception& e) {
                error = std::string("cannot write a frame: ") + e.what();
            }
            if (!ok) {
                exchange.GiveBack(std::move(frame));
                return error.empty() ? "cannot write a frame" : error;
            }
            ++stats.written;
            lastWritten = position;
            stats.positions = position + 1;
        }
        exchange.GiveBack(std::move(frame));
        if (progress && *lastWritten + 1 >= nextReport) {
            nextReport = *lastWritten + 1 + std::max(playbackFps, 1);
            progress();
        }
    }
    return {};
}

RecordOutcome RunRecording(FrameSource& source, FrameSink& sink, RecordClock& clock, const GrabSettings& settings,
                           std::stop_token stop, RecordStats& stats, const RecordHooks& hooks,
                           size_t buffers, FrameExchange::Allocate allocate)
{
    FrameExchange exchange(int(settings.area.width()), int(settings.area.height()), std::max<size_t>(buffers, 1),
                           std::move(allocate));
    std::string grabError;
    std::string encodeError;
    {
        std::jthread grabber([&](std::stop_token own) {
            if (hooks.threadStarts)
                hooks.threadStarts();
            grabError = RunGrabLoop(source, clock, exchange, settings, own, stats, hooks.started, hooks.grabWatch);
        });
        std::stop_callback forward(stop, [&] { grabber.request_stop(); });
        encodeError = RunEncodeLoop(sink, exchange, settings.playbackFps, stats, hooks.progress);
        if (!encodeError.empty()) {
            grabber.request_stop();
            exchange.Close();
        }
    } // joins the grabber
    RecordOutcome outcome;
    outcome.error = !encodeError.empty() ? encodeError : grabError;
    return outcome;
}

} // namespace vistrel
