#pragma once
// The thumbnail builder: one worker thread that makes a thumbnail for each
// file of a list, the rows on screen first, and hands each one over as it is
// done. It owns nothing of the user interface: the maker (how a file becomes
// a picture) and the sink (where the pictures go) are seams, so tests drive it
// with fakes and no display.
//
// Threads: the task is made, told which rows are visible, and destroyed on one
// owner thread. The worker runs at a lower priority than its owner. Make and the sink's calls run on the worker, one at a time.
// Destroying the task (or Stop then Wait) asks the worker to stop and waits
// for the entry it is making, after which the sink is never called again: the
// owner may then discard whatever the sink fills.

#include "codec/bitmap.h"

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vistrel {

class ThumbnailMaker {
public:
    virtual ~ThumbnailMaker() = default;
    // The file's thumbnail; nullopt when none can be made (the row is skipped).
    virtual std::optional<Bitmap> Make(const std::string& path) = 0;
};

class ThumbnailSink {
public:
    virtual ~ThumbnailSink() = default;
    // Row index is done: its picture, or nullopt when none could be made;
    // percent is how much of the list is done, rounded.
    virtual void Built(size_t index, std::optional<Bitmap> thumbnail, int percent) = 0;
    // Every row is done (not called after a stop).
    virtual void Finished() = 0;
};

// Rows first..last (inclusive) are on screen; last < first: none is.
struct VisibleRows {
    size_t first = 1;
    size_t last = 0;
};

// The next row to build: the first undone row on screen, else the first
// undone row of all; nullopt when every row is done.
std::optional<size_t> NextThumbnailRow(const std::vector<bool>& done, const VisibleRows& visible);

class ThumbnailTask {
public:
    // maker and sink must outlive the task.
    ThumbnailTask(std::vector<std::string> paths, VisibleRows visible, ThumbnailMaker& maker, ThumbnailSink& sink);
    ~ThumbnailTask(); // Stop, then Wait
    ThumbnailTask(const ThumbnailTask&) = delete;
    ThumbnailTask& operator=(const ThumbnailTask&) = delete;

    // The rows on screen changed (scrolling, resizing): they come next.
    void SetVisibleRows(VisibleRows visible);
    // Asks the worker to stop before its next row; returns at once.
    void Stop();
    // Returns once the worker has ended.
    void Wait();

private:
    void Run(std::stop_token stop);

    const std::vector<std::string> m_paths;
    ThumbnailMaker& m_maker;
    ThumbnailSink& m_sink;
    std::mutex m_mutex;
    VisibleRows m_visible; // guarded by m_mutex
    std::jthread m_worker; // last: starts once the rest is made
};

} // namespace vistrel
