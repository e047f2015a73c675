#include "icons/icon_clipboard.h"

#include "icons/core/icon_fit.h"

#include <QClipboard>
#include <QGuiApplication>

namespace vistrel {

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
