#pragma once
// Pictures for the toolkit and the clipboard: pixels as a QImage, a picture
// file read with the program's own codec, and a saved capture put on the
// clipboard both as a picture (other programs take it as PNG) and as the file
// (text/uri-list). User-interface thread only (the clipboard is).

#include "codec/bitmap.h"

#include <QImage>
#include <QString>

namespace vistrel {

// The pixels as a QImage (32-bit ARGB, not premultiplied); null for an empty bitmap.
QImage ImageFromBitmap(const Bitmap& bitmap);

// The picture of a file of one of the program's image types, chosen by its
// name; null when it cannot be read.
QImage ReadPicture(const QString& path);

// False, and the clipboard untouched, when the file cannot be read.
bool CopyPictureFileToClipboard(const QString& path);

} // namespace vistrel
