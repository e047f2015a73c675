#pragma once
// The picture a row of the captured-file list shows: for an icon file its own
// first icon, for a picture or a recording a drawn file picture of the list's
// size; in the thumbnails view the recordings share one framed picture. The
// thumbnails view shows these until a row's thumbnail is built. Each picture
// is drawn once and kept.
// User-interface thread only.

#include "library/core/capture_lists.h"

#include <QHash>
#include <QIcon>
#include <QSize>
#include <QString>

namespace vistrel {

enum class PictureSize { Small, Large, Thumbnail };

// 16 x 16, 32 x 32, 120 x 100.
QSize PictureSizeOf(PictureSize size);

class ListPictures {
public:
    QIcon Picture(FolderKind kind, const QString& path, PictureSize size);

private:
    QIcon IconFilePicture(const QString& path);
    QIcon DrawnPicture(FolderKind kind, PictureSize size);

    QHash<QString, QIcon> m_iconFiles; // decoded once per path
    QHash<int, QIcon> m_drawn;         // by kind and size
};

} // namespace vistrel
