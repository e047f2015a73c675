// The thumbnail benchmark's window: the library's captured-file list in its
// Thumbnails view, over a capture library holding the files named on the
// command line, its progress bar in the status bar. It prints how long the
// last thumbnail took to be shown and the longest stall of the event loop
// meanwhile (a heartbeat timer that came late) and the processor time the
// user-interface thread used, then exits. The clock starts once the window
// has been painted, so the first paint (fonts, style) is not counted.
// Usage: thumbnail_host FILE...   (the cache: $XDG_CACHE_HOME)
#include "library/capture_list_ctrl.h"
#include "library/capture_list_model.h"
#include "library/model/capture_library.h"
#include "library/thumbnail_images.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace vistrel;

namespace {

constexpr int kHeartbeatMs = 5;

int Shown(const CCaptureListCtrl& list)
{
    int shown = 0;
    for (int row = 0; row < list.model().rowCount(); ++row)
        shown += list.thumbnails().Picture(row).isNull() ? 0 : 1;
    return shown;
}

long long ThreadCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i)
        paths.emplace_back(argv[i]);

    CaptureLists lists;
    CaptureLibrary library(lists);
    library.Append(FOLDER_BITMAPS, paths);
    QMainWindow window;
    window.setWindowTitle("thumbnail host");
    auto* list = new CCaptureListCtrl(library, &window);
    list->SetStatusBar(window.statusBar());
    window.setCentralWidget(list);
    window.resize(1000, 680);
    window.show();
    QElapsedTimer exposing;
    exposing.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && exposing.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    window.repaint();
    long long cpuAtStart = 0;

    QElapsedTimer clock;
    qint64 lastBeat = 0, longestStallMs = 0;
    // The processor time the thread used within the longest stall: near the
    // stall's length when our own work held the loop up, near 0 when the
    // thread waited for a processor.
    long long lastBeatCpu = 0, longestStallCpuMs = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        const long long cpu = ThreadCpuMs();
        if (now - lastBeat - kHeartbeatMs > longestStallMs) {
            longestStallMs = now - lastBeat - kHeartbeatMs;
            longestStallCpuMs = cpu - lastBeatCpu;
        }
        lastBeat = now;
        lastBeatCpu = cpu;
    });
    QTimer shownCheck; // after the build: until the list has shown the last pictures
    QObject::connect(&list->thumbnails(), &CThumbnailImages::finished, &app, [&] { shownCheck.start(1); });
    QObject::connect(&shownCheck, &QTimer::timeout, &app, [&] {
        if (list->model().thumbnailsPending())
            return;
        shownCheck.stop();
        list->currentView()->viewport()->repaint(); // the last pictures painted
        std::printf("thumbnails %zu shown %d ms %lld longest-stall-ms %lld ui-thread-cpu-ms %lld"
                    " stall-cpu-ms %lld\n",
                    paths.size(), Shown(*list), static_cast<long long>(clock.elapsed()),
                    static_cast<long long>(longestStallMs), ThreadCpuMs() - cpuAtStart, longestStallCpuMs);
        std::fflush(stdout);
        QApplication::quit();
    });
    QTimer::singleShot(0, &app, [&] {
        cpuAtStart = lastBeatCpu = ThreadCpuMs();
        clock.start();
        heartbeat.start(kHeartbeatMs);
        list->SetViewMode(VIEW_THUMBNAILS);
    });
    return QApplication::exec();
}
