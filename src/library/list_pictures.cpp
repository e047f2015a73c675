#include "library/list_pictures.h"

#include "codec/image.h"
#include "icons/icon_clipboard.h"
#include "library/thumbnail_images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>

namespace vistrel {

namespace {

// A sheet of paper with a folded corner, and on it a landscape (a picture) or
// a film strip (a recording), drawn for the size asked for.
QPixmap FilePicture(FolderKind kind, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(size.width(), size.height());
    const QRectF sheet((size.width() - side * 0.8) / 2, (size.height() - side) / 2 + side * 0.04, side * 0.8,
                       side * 0.92);
    const qreal fold = side * 0.22;
    QPainterPath outline;
    outline.moveTo(sheet.topLeft());
    outline.lineTo(sheet.right() - fold, sheet.top());
    outline.lineTo(sheet.right(), sheet.top() + fold);
    outline.lineTo(sheet.bottomRight());
    outline.lineTo(sheet.bottomLeft());
    outline.closeSubpath();
    painter.setPen(QPen(QColor(90, 110, 140), std::max(1.0, side / 24)));
    painter.setBrush(Qt::white);
    painter.drawPath(outline);
    const QRectF inner = sheet.adjusted(side * 0.1, fold + side * 0.06, -side * 0.1, -side * 0.1);
    painter.setPen(Qt::NoPen);
    if (kind == FOLDER_AVI) {
        painter.setBrush(QColor(60, 60, 70));
        painter.drawRect(inner);
        painter.setBrush(QColor(240, 200, 60));
        QPainterPath play;
        const QPointF c = inner.center();
        const qreal r = inner.height() * 0.3;
        play.moveTo(c.x() - r * 0.8, c.y() - r);
        play.lineTo(c.x() + r, c.y());
        play.lineTo(c.x() - r * 0.8, c.y() + r);
        play.closeSubpath();
        painter.drawPath(play);
    } else {
        painter.setBrush(QColor(120, 180, 235));
        painter.drawRect(inner);
        painter.setBrush(QColor(70, 150, 80));
        QPainterPath hill;
        hill.moveTo(inner.bottomLeft());
        hill.lineTo(inner.left() + inner.width() * 0.4, inner.top() + inner.height() * 0.35);
        hill.lineTo(inner.left() + inner.width() * 0.7, inner.top() + inner.height() * 0.7);
        hill.lineTo(inner.right(), inner.top() + inner.height() * 0.5);
        hill.lineTo(inner.bottomRight());
        hill.closeSubpath();
        painter.drawPath(hill);
        painter.setBrush(QColor(250, 220, 70));
        painter.drawEllipse(QPointF(inner.right() - inner.width() * 0.22, inner.top() + inner.height() * 0.28),
                            inner.height() * 0.14, inner.height() * 0.14);
    }
    return pixmap;
}

} // namespace

QSize PictureSizeOf(PictureSize size)
{
    switch (size) {
    case PictureSize::Small: return {16, 16};
    case PictureSize::Large: return {32, 32};
    default: return {120, 100};
    }
}

QIcon ListPictures::Picture(FolderKind kind, const QString& path, PictureSize size)
{
    if (kind == FOLDER_ICONS)
        return IconFilePicture(path);
    return DrawnPicture(kind, size);
}

QIcon ListPictures::DrawnPicture(FolderKind kind, PictureSize size)
{
    const int key = int(kind) * 8 + int(size);
    if (auto known = m_drawn.constFind(key); known != m_drawn.constEnd())
        return *known;
    QIcon icon;
    if (kind == FOLDER_AVI && size == PictureSize::Thumbnail)
        icon = QIcon(QPixmap::fromImage(AviThumbnail(QIcon(FilePicture(kind, PictureSizeOf(PictureSize::Large))))));
    else
        icon = QIcon(FilePicture(kind, PictureSizeOf(size)));
    m_drawn.insert(key, icon);
    return icon;
}

QIcon ListPictures::IconFilePicture(const QString& path)
{
    if (auto known = m_iconFiles.constFind(path); known != m_iconFiles.constEnd())
        return *known;
    QIcon icon;
    const CImage image(path.toUtf8().constData(), IMAGE_TYPE_ICO);
    if (auto bitmap = image.MakeBitmap())
        icon = QIcon(QPixmap::fromImage(ImageFromBitmap(*bitmap)));
    m_iconFiles.insert(path, icon); // a file without an icon shows none, and is not read again
    return icon;
}

} // namespace vistrel
