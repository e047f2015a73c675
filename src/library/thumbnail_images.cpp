#include "library/thumbnail_images.h"

#include "base/trace.h"
#include "icons/icon_clipboard.h"
#include "library/core/thumbnail_maker.h"
#include "library/gradient_progress.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QStatusBar>

#include <algorithm>
#include <deque>
#include <mutex>

namespace vistrel {

namespace {

uint32_t Argb(const QColor& colour) { return MakeArgb(uint8_t(colour.red()), uint8_t(colour.green()), uint8_t(colour.blue())); }

ThumbnailColours DesktopColours()
{
    const QPalette palette = QApplication::palette();
    ThumbnailColours colours;
    colours.buttonFace = Argb(palette.color(QPalette::Button));
    colours.buttonShadow = Argb(palette.color(QPalette::Dark));
    colours.buttonHighlight = Argb(palette.color(QPalette::Light));
    return colours;
}

} // namespace

// The worker's results, waiting for the user-interface thread. The queue and
// its flag are reached only under the mutex.
class CThumbnailImages::Sink final : public ThumbnailSink {
public:
    struct Result {
        size_t row = 0;
        QImage picture;
        int percent = 0;
        bool last = false; // every row is done
    };

    Sink(CThumbnailImages& owner, unsigned generation) : m_owner(&owner), m_generation(generation) {}

    void Built(size_t index, std::optional<Bitmap> thumbnail, int percent) override
    {
        // Converted here, not on the user-interface thread: there it only
        // becomes a pixmap, without a copy.
        QImage picture;
        if (thumbnail)
            picture = ImageFromBitmap(*thumbnail).convertToFormat(QImage::Format_RGB32);
        Queue({index, std::move(picture), percent, false});
    }

    void Finished() override { Queue({0, QImage(), 100, true}); }

    // The next result, or nullopt when the queue is empty (the next result
    // will post a new call then).
    std::optional<Result> Take()
    {
        std::lock_guard lock(m_mutex);
        if (m_queue.empty()) {
            m_posted = false;
            return std::nullopt;
        }
        Result result = std::move(m_queue.front());
        m_queue.pop_front();
        return result;
    }

private:
    void Queue(Result result)
    {
        {
            std::lock_guard lock(m_mutex);
            m_queue.push_back(std::move(result));
            if (m_posted)
                return;
            m_posted = true;
        }
        // The owner is the call's context: Qt drops the call once it is gone.
        QMetaObject::invokeMethod(
            m_owner, [owner = m_owner, g = m_generation] { owner->TakeResults(g); }, Qt::QueuedConnection);
    }

    CThumbnailImages* m_owner;
    unsigned m_generation;
    std::mutex m_mutex;
    std::deque<Result> m_queue;
    bool m_posted = false; // a call to take the queue is on its way
};

CThumbnailImages::CThumbnailImages(std::string cacheFolder, QObject* parent)
    : QObject(parent), m_cache(std::move(cacheFolder))
{
}

CThumbnailImages::~CThumbnailImages() { Stop(); }

void CThumbnailImages::Build(const std::vector<std::string>& paths, FolderKind kind, VisibleRows visible,
                             QStatusBar* status)
{
    Stop();
    m_active = true;
    m_kind = kind;
    m_status = status;
    m_visible = visible;
    Add(paths);
}

void CThumbnailImages::Add(const std::vector<std::string>& paths)
{
    if (!m_active || paths.empty())
        return;
    m_paths.insert(m_paths.end(), paths.begin(), paths.end());
    m_pictures.resize(m_paths.size());
    m_done.resize(m_paths.size(), false);
    m_task.reset(); // stopped after its current entry; its queued results are redone
    ++m_generation;
    std::vector<size_t> rows;
    for (size_t row = 0; row < m_done.size(); ++row)
        if (!m_done[row])
            rows.push_back(row);
    Start(std::move(rows), m_visible);
}

void CThumbnailImages::Start(std::vector<size_t> rows, VisibleRows visible)
{
    if (!m_maker) {
        if (m_kind == FOLDER_ICONS)
            m_maker = std::make_unique<IconThumbnailMaker>(DesktopColours());
        else
            m_maker = std::make_unique<PictureThumbnailMaker>(DesktopColours(),
                                                              m_cache.folder().empty() ? nullptr : &m_cache);
    }
    if (m_status && !m_progress) {
        m_progress = new CGradientProgressCtrl(m_status);
        m_progress->setObjectName("thumbnailProgress");
        m_progress->SetBarColours(QColor(255, 0, 0), QColor(0, 255, 0));
        m_progress->setRange(0, 100);
        m_status->addWidget(m_progress, 1);
        m_progress->show();
    }
    if (m_progress)
        m_progress->setValue(0);
    std::vector<std::string> paths;
    paths.reserve(rows.size());
    for (size_t row : rows)
        paths.push_back(m_paths[row]);
    m_taskRows = std::move(rows);
    m_sink = std::make_unique<Sink>(*this, ++m_generation);
    m_task = std::make_unique<ThumbnailTask>(std::move(paths), TaskRows(visible), *m_maker, *m_sink);
    if (TraceEnabled())
        Trace("thumbnails start " + std::to_string(m_taskRows.size()));
}

void CThumbnailImages::Stop()
{
    ++m_generation; // whatever is still queued belongs to no build now
    m_active = false;
    m_task.reset();
    m_sink.reset();
    m_maker.reset();
    m_paths.clear();
    m_pictures.clear();
    m_done.clear();
    m_taskRows.clear();
    RemoveProgress();
}

void CThumbnailImages::SetVisibleRows(VisibleRows visible)
{
    m_visible = visible;
    if (m_task)
        m_task->SetVisibleRows(TaskRows(visible));
}

VisibleRows CThumbnailImages::TaskRows(VisibleRows visible) const
{
    if (visible.first > visible.last)
        return {};
    const auto first = std::lower_bound(m_taskRows.begin(), m_taskRows.end(), visible.first);
    const auto end = std::upper_bound(m_taskRows.begin(), m_taskRows.end(), visible.last);
    if (first >= end)
        return {};
    return {size_t(first - m_taskRows.begin()), size_t(end - m_taskRows.begin()) - 1};
}

QPixmap CThumbnailImages::Picture(int row) const
{
    return row >= 0 && size_t(row) < m_pictures.size() ? m_pictures[size_t(row)] : QPixmap();
}

void CThumbnailImages::TakeResults(unsigned generation)
{
    constexpr qint64 kSliceMs = 8;
    if (generation != m_generation || !m_sink)
        return;
    QElapsedTimer slice;
    slice.start();
    while (auto result = m_sink->Take()) {
        if (result->last) {
            Done();
            return;
        }
        if (result->row >= m_taskRows.size())
            continue;
        const size_t row = m_taskRows[result->row];
        m_done[row] = true;
        if (!result->picture.isNull())
            m_pictures[row] = QPixmap::fromImage(std::move(result->picture));
        if (m_progress)
            m_progress->setValue(result->percent);
        emit progressChanged(result->percent);
        emit pictureReady(int(row));
        if (generation != m_generation)
            return; // a listener stopped the build
        if (slice.elapsed() >= kSliceMs) {
            // The rest after whatever else waits; the queue stays flagged as posted.
            QMetaObject::invokeMethod(this, [this, generation] { TakeResults(generation); }, Qt::QueuedConnection);
            return;
        }
    }
}

void CThumbnailImages::Done()
{
    m_task.reset(); // its worker has returned from its last call
    RemoveProgress();
    if (TraceEnabled())
        Trace("thumbnails done " + std::to_string(m_pictures.size()));
    emit finished();
}

void CThumbnailImages::RemoveProgress()
{
    if (m_progress)
        delete m_progress.data();
}

QImage AviThumbnail(const QIcon& aviIcon)
{
    const ThumbnailColours colours = DesktopColours();
    QImage picture = ImageFromBitmap(MakeThumbnailFrame(colours.buttonHighlight, colours.buttonShadow));
    QPainter painter(&picture);
    aviIcon.paint(&painter, QRect(44, 34, 32, 32));
    return picture;
}

} // namespace vistrel
