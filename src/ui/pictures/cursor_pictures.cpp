#include "ui/pictures/cursor_pictures.h"

#include "record/core/builtin_cursors.h"

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstring>

namespace vistrel {

std::optional<CursorImage> BuiltInCursorImage(int index)
{
    if (index < 0 || size_t(index) >= kBuiltInCursors.size())
        return std::nullopt;
    const BuiltInCursor& entry = kBuiltInCursors[size_t(index)];
    const QString name = QString::fromUtf8(entry.picture.data(), qsizetype(entry.picture.size()));
    QSvgRenderer renderer(QString(":/pictures/cursors/%1.svg").arg(name));
    if (!renderer.isValid())
        return std::nullopt;
    QImage drawn(kBuiltInCursorSide, kBuiltInCursorSide, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    {
        QPainter painter(&drawn);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, kBuiltInCursorSide, kBuiltInCursorSide));
    }
    // The recorder blends straight alpha; Format_ARGB32 is 0xAARRGGBB in a uint32, as Bitmap keeps it.
    const QImage straight = drawn.convertToFormat(QImage::Format_ARGB32);
    CursorImage cursor;
    cursor.image = Bitmap(kBuiltInCursorSide, kBuiltInCursorSide);
    for (int y = 0; y < kBuiltInCursorSide; ++y)
        std::memcpy(cursor.image.row(y), straight.constScanLine(y), sizeof(uint32_t) * kBuiltInCursorSide);
    cursor.hotX = entry.hotX;
    cursor.hotY = entry.hotY;
    return cursor;
}

} // namespace vistrel
