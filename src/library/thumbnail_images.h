#pragma once
// CThumbnailImages: the pictures of the list's Thumbnails view, one per row,
// built off the user-interface thread by a ThumbnailTask (the rows on screen
// first, through the shared thumbnail cache) while a gradient progress bar in
// the status bar shows how far it has come.
//
// User-interface thread only. The worker makes each picture ready to show
// (in the screen's pixel format) and queues it; one call posted to this object
// takes the queue for a few milliseconds at a time and lets the event loop run
// in between, so a burst (thumbnails from the cache) never stalls the window.
// A build that was stopped (the view or the folder changed) or an object that
// is gone never receives them, and Stop waits for the worker's current entry
// before the pictures are dropped, so no picture of an old build reaches a
// new list.

#include "library/core/capture_lists.h"
#include "library/core/thumbnail_cache.h"
#include "library/core/thumbnail_task.h"

#include <QImage>
#include <QPixmap>
#include <QObject>
#include <QPointer>

#include <memory>
#include <string>
#include <vector>

class QStatusBar;

namespace vistrel {

class CGradientProgressCtrl;

class CThumbnailImages : public QObject {
    Q_OBJECT
public:
    // cacheFolder: the shared cache's folder; empty for no cache.
    explicit CThumbnailImages(std::string cacheFolder = ThumbnailCache::DefaultFolder(), QObject* parent = nullptr);
    ~CThumbnailImages() override; // stops the build first

    // Starts building the pictures of paths, a list of kind (bitmaps or icons;
    // the AVI rows share one picture, AviThumbnail). A build running is
    // stopped first. status: where the progress bar goes (pane 0), or null.
    void Build(const std::vector<std::string>& paths, FolderKind kind, VisibleRows visible, QStatusBar* status);
    // Rows appended to the list being built or built: their pictures follow
    // (a running build goes on with its undone rows and these). Nothing
    // before the first Build or after Stop.
    void Add(const std::vector<std::string>& paths);
    // The view or the folder changed: stops after the current entry, drops
    // the pictures and the progress bar.
    void Stop();
    void SetVisibleRows(VisibleRows visible);

    bool building() const { return m_task != nullptr; }
    // The row's picture; null while it is not built or could not be made.
    QPixmap Picture(int row) const;
    int rowCount() const { return int(m_pictures.size()); }

signals:
    void pictureReady(int row);
    void progressChanged(int percent);
    void finished();

private:
    class Sink;
    // Takes what the worker has queued, for a few milliseconds at most.
    void TakeResults(unsigned generation);
    // A task over rows (ascending), the progress bar shown.
    void Start(std::vector<size_t> rows, VisibleRows visible);
    // visible in the rows of the running task.
    VisibleRows TaskRows(VisibleRows visible) const;
    void Done();
    void RemoveProgress();

    ThumbnailCache m_cache;
    FolderKind m_kind = FOLDER_BITMAPS;
    QPointer<QStatusBar> m_status;
    bool m_active = false; // between Build and Stop
    std::vector<std::string> m_paths; // by row
    std::vector<QPixmap> m_pictures;  // by row
    std::vector<bool> m_done;         // by row: its result was taken
    std::vector<size_t> m_taskRows;   // the row of each of the task's entries
    VisibleRows m_visible;
    unsigned m_generation = 0; // of the build whose results are wanted
    QPointer<CGradientProgressCtrl> m_progress;
    std::unique_ptr<ThumbnailMaker> m_maker;
    std::unique_ptr<Sink> m_sink;
    std::unique_ptr<ThumbnailTask> m_task; // last: stopped before the maker and sink go
};

// The picture every AVI row shows: the frame with aviIcon at 32 x 32 at (44, 34).
QImage AviThumbnail(const QIcon& aviIcon);

} // namespace vistrel
