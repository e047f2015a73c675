#pragma once
// Icon pictures for the toolkit: an icon image as a QImage, and an icon image
// put on the clipboard. User-interface thread only (the clipboard is).

#include "codec/bitmap.h"
#include "icons/core/icon_resource.h"
#include "ui/picture_clipboard.h"

#include <QImage>

namespace vistrel {

// The image as it looks: a bitmap's colour rows with its mask as transparency
// (or its own alpha at 32 bits), a PNG image decoded. Null when the image is
// empty or broken.
QImage IconImageToQImage(const IconImage& image);

// Puts the image on the clipboard as a picture with transparency. False, and the
// clipboard untouched, when the image is empty or cannot be decoded.
bool CopyIconImageToClipboard(const IconImage& image);

} // namespace vistrel
