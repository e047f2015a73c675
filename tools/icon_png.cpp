// Renders the application icon into an icon theme folder for the install:
//   vistrel_icon_png DIR SIZE...  writes DIR/<SIZE>x<SIZE>/apps/vistrel.png
// The pictures the program shows and the installed icons come from the same
// drawings through the same renderer, the small sizes from the small drawing.

#include "ui/pictures/pictures.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DIR SIZE...\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        char* end = nullptr;
        const long size = std::strtol(argv[i], &end, 10);
        const QImage image = (*end == '\0' && size > 0 && size <= 1024)
                                 ? vistrel::ApplicationIconImage(int(size))
                                 : QImage();
        if (image.isNull()) {
            std::fprintf(stderr, "%s: not an icon size: %s\n", argv[0], argv[i]);
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QString path = folder + QStringLiteral("/vistrel.png");
        // Written beside and renamed, so an interrupted build leaves no half file.
        const QString temporary = path + QStringLiteral(".part");
        if (!QDir().mkpath(folder) || !image.save(temporary, "PNG")
            || (QFile::exists(path) && !QFile::remove(path)) || !QFile::rename(temporary, path)) {
            QFile::remove(temporary);
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(path));
            return 1;
        }
    }
    return 0;
}
