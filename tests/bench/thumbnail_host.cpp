// The thumbnail benchmark's window: a list in icon mode showing the files
// named on the command line, their thumbnails built by CThumbnailImages as the
// library's Thumbnails view builds them (rows on screen first, progress bar in
// the status bar). It prints how long the last thumbnail took to be shown and
// the longest stall of the event loop meanwhile (a 5 ms timer that came late),
// then exits. Usage: thumbnail_host FILE...   (the cache: $XDG_CACHE_HOME)
#include "library/thumbnail_images.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QListWidget>
#include <QMainWindow>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace vistrel;

namespace {

constexpr int kWatchMs = 5;

VisibleRows RowsOnScreen(const QListWidget& list)
{
    const QModelIndex first = list.indexAt(QPoint(4, 4));
    const QModelIndex last = list.indexAt(list.viewport()->rect().bottomRight() - QPoint(4, 4));
    if (!first.isValid())
        return {};
    return {size_t(first.row()), size_t(last.isValid() ? last.row() : list.count() - 1)};
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i)
        paths.emplace_back(argv[i]);

    QMainWindow window;
    window.setWindowTitle("thumbnail host");
    auto* list = new QListWidget(&window);
    list->setViewMode(QListView::IconMode);
    list->setIconSize(QSize(120, 100));
    list->setGridSize(QSize(130, 125));
    list->setUniformItemSizes(true);
    list->setResizeMode(QListView::Adjust);
    for (const auto& path : paths)
        list->addItem(QFileInfo(QString::fromStdString(path)).fileName());
    window.setCentralWidget(list);
    window.resize(1000, 680);
    window.show();

    CThumbnailImages images;
    QElapsedTimer clock;
    qint64 lastTick = 0, longestStallMs = 0;
    int shown = 0;
    QTimer watch;
    watch.setTimerType(Qt::PreciseTimer);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestStallMs = std::max(longestStallMs, now - lastTick - kWatchMs);
        lastTick = now;
    });
    QObject::connect(&images, &CThumbnailImages::pictureReady, list, [&](int row) {
        list->item(row)->setIcon(QIcon(QPixmap::fromImage(images.Picture(row))));
        ++shown;
    });
    QObject::connect(&images, &CThumbnailImages::finished, &app, [&] {
        QApplication::processEvents(); // the last picture painted
        std::printf("thumbnails %zu shown %d ms %lld longest-stall-ms %lld\n", paths.size(), shown,
                    static_cast<long long>(clock.elapsed()), static_cast<long long>(longestStallMs));
        std::fflush(stdout);
        QApplication::quit();
    });
    QObject::connect(list->verticalScrollBar(), &QScrollBar::valueChanged, &images,
                     [&] { images.SetVisibleRows(RowsOnScreen(*list)); });
    QTimer::singleShot(0, &app, [&] {
        clock.start();
        watch.start(kWatchMs);
        images.Build(paths, FOLDER_BITMAPS, RowsOnScreen(*list), window.statusBar());
    });
    return QApplication::exec();
}
