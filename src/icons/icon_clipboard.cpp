#include "icons/icon_clipboard.h"

#include "icons/core/icon_fit.h"

#include <QClipboard>
#include <QGuiApplication>

#include <cstring>

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

QImage IconImageToQImage(const IconImage& image)
{
    if (image.data.empty())
        return {};
    const auto decoded = DecodeIconImage(image);
    return decoded ? ImageFromBitmap(decoded->bitmap) : QImage();
}

bool CopyIconImageToClipboard(const IconImage& image)
{
    const QImage picture = IconImageToQImage(image);
    if (picture.isNull())
        return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setImage(picture);
    return true;
}

} // namespace vistrel
