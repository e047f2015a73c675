#include "library/core/thumbnail_task.h"

#include "base/thread_priority.h"

#include <algorithm>

namespace vistrel {

std::optional<size_t> NextThumbnailRow(const std::vector<bool>& done, const VisibleRows& visible)
{
    if (visible.first <= visible.last)
        for (size_t i = visible.first; i <= visible.last && i < done.size(); ++i)
            if (!done[i])
                return i;
    const auto undone = std::find(done.begin(), done.end(), false);
    if (undone == done.end())
        return std::nullopt;
    return size_t(undone - done.begin());
}

ThumbnailTask::ThumbnailTask(std::vector<std::string> paths, VisibleRows visible, ThumbnailMaker& maker,
                             ThumbnailSink& sink)
    : m_paths(std::move(paths)), m_maker(maker), m_sink(sink), m_visible(visible),
      m_worker([this](std::stop_token stop) { Run(stop); })
{
}

ThumbnailTask::~ThumbnailTask()
{
    Stop();
    Wait();
}

void ThumbnailTask::SetVisibleRows(VisibleRows visible)
{
    std::lock_guard lock(m_mutex);
    m_visible = visible;
}

void ThumbnailTask::Stop() { m_worker.request_stop(); }

void ThumbnailTask::Wait()
{
    if (m_worker.joinable())
        m_worker.join();
}

void ThumbnailTask::Run(std::stop_token stop)
{
    // When the window's thread and this one both want a processor, the window
    // goes first: a thumbnail a little later beats a list that stutters.
    constexpr int kNiceAboveOwner = 5;
    if (const auto nice = CurrentThreadNice())
        SetCurrentThreadNice(*nice + kNiceAboveOwner);
    std::vector<bool> done(m_paths.size(), false);
    for (size_t count = 0; count < m_paths.size(); ++count) {
        if (stop.stop_requested())
            return;
        VisibleRows visible;
        {
            std::lock_guard lock(m_mutex);
            visible = m_visible;
        }
        const size_t row = *NextThumbnailRow(done, visible);
        done[row] = true;
        std::optional<Bitmap> thumbnail = m_maker.Make(m_paths[row]);
        if (stop.stop_requested())
            return; // the owner may be discarding what the sink fills
        const int percent = int(((count + 1) * 200 + m_paths.size()) / (m_paths.size() * 2));
        m_sink.Built(row, std::move(thumbnail), percent);
    }
    if (!stop.stop_requested())
        m_sink.Finished();
}

} // namespace vistrel
