#include "ui/picture_clipboard.h"

#include "codec/image.h"
#include "codec/image_type.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <cstring>
#include <memory>

namespace vistrel {

QImage ImageFromBitmap(const Bitmap& bitmap)
{
    if (!bitmap.holdsAllPixels())
        return {};
    QImage image(bitmap.width, bitmap.height, QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    // Bitmap pixels are 0xAARRGGBB, as Format_ARGB32 stores them.
    for (int y = 0; y < bitmap.height; ++y)
        std::memcpy(image.scanLine(y), bitmap.row(y), size_t(bitmap.width) * sizeof(uint32_t));
    return image;
}

QImage ReadPicture(const QString& path)
{
    const QByteArray file = path.toUtf8();
    const int type = ImageTypeFromFileName(file.toStdString());
    if (type < 0)
        return {};
    CImage image(file.constData(), cximage_type(type));
    if (!image.IsValid())
        return {};
    const std::unique_ptr<Bitmap> pixels = image.MakeBitmap();
    return pixels ? ImageFromBitmap(*pixels) : QImage();
}

bool CopyPictureFileToClipboard(const QString& path)
{
    QImage picture = ReadPicture(path);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (picture.isNull() || !clipboard)
        return false;
    auto data = std::make_unique<QMimeData>();
    data->setImageData(picture);
    data->setUrls({QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())});
    clipboard->setMimeData(data.release()); // the clipboard owns it
    return true;
}

} // namespace vistrel
