#include "library/thumbnail_images.h"

#include "base/trace.h"
#include "icons/icon_clipboard.h"
#include "library/core/thumbnail_maker.h"
#include "library/gradient_progress.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QStatusBar>

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

// On the worker: each result becomes a queued call to the images object,
// tagged with its build, so a late result of a stopped build is dropped.
class CThumbnailImages::Sink final : public ThumbnailSink {
public:
    Sink(CThumbnailImages& owner, unsigned generation) : m_owner(&owner), m_generation(generation) {}

    void Built(size_t index, std::optional<Bitmap> thumbnail, int percent) override
    {
        QImage picture = thumbnail ? ImageFromBitmap(*thumbnail) : QImage();
        QMetaObject::invokeMethod(
            m_owner, [owner = m_owner, g = m_generation, index, picture = std::move(picture), percent] {
                owner->Arrived(g, index, picture, percent);
            },
            Qt::QueuedConnection);
    }

    void Finished() override
    {
        QMetaObject::invokeMethod(m_owner, [owner = m_owner, g = m_generation] { owner->Done(g); },
                                  Qt::QueuedConnection);
    }

private:
    CThumbnailImages* m_owner; // the context of the queued calls: Qt drops them once it is gone
    unsigned m_generation;
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
    m_pictures.assign(paths.size(), QImage());
    if (kind == FOLDER_ICONS)
        m_maker = std::make_unique<IconThumbnailMaker>(DesktopColours());
    else
        m_maker = std::make_unique<PictureThumbnailMaker>(DesktopColours(), m_cache.folder().empty() ? nullptr : &m_cache);
    if (status) {
        m_progress = new CGradientProgressCtrl(status);
        m_progress->setObjectName("thumbnailProgress");
        m_progress->SetBarColours(QColor(255, 0, 0), QColor(0, 255, 0));
        m_progress->setRange(0, 100);
        m_progress->setValue(0);
        status->addWidget(m_progress, 1);
        m_progress->show();
    }
    m_sink = std::make_unique<Sink>(*this, ++m_generation);
    m_task = std::make_unique<ThumbnailTask>(paths, visible, *m_maker, *m_sink);
    if (TraceEnabled())
        Trace("thumbnails start " + std::to_string(paths.size()));
}

void CThumbnailImages::Stop()
{
    ++m_generation; // whatever is still queued belongs to no build now
    m_task.reset();
    m_sink.reset();
    m_maker.reset();
    m_pictures.clear();
    RemoveProgress();
}

void CThumbnailImages::SetVisibleRows(VisibleRows visible)
{
    if (m_task)
        m_task->SetVisibleRows(visible);
}

QImage CThumbnailImages::Picture(int row) const
{
    return row >= 0 && size_t(row) < m_pictures.size() ? m_pictures[size_t(row)] : QImage();
}

void CThumbnailImages::Arrived(unsigned generation, size_t row, const QImage& picture, int percent)
{
    if (generation != m_generation || row >= m_pictures.size())
        return;
    m_pictures[row] = picture;
    if (m_progress)
        m_progress->setValue(percent);
    emit progressChanged(percent);
    emit pictureReady(int(row));
}

void CThumbnailImages::Done(unsigned generation)
{
    if (generation != m_generation)
        return;
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
