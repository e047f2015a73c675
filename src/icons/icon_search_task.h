#pragma once
// IconSearchTask: the folder search of the "Icon Capture&Search" dialog, seen
// from the user-interface thread. It owns the core search (up to three worker
// threads and their one lock) and turns what the workers report into queued
// calls to itself, so that nothing reaches a window from a worker thread:
// progress as a signal, the files written appended to the library's icon list
// (on this thread, in the order they were written, together once a search has
// ended), the end of a search as a signal.
//
// The task can outlive its dialog: a dialog that closes during a search calls
// Abandon, which asks the threads to stop and lets the task delete itself once
// they have ended, so the window closes at once and nothing waits for them.
// A task is a child of a long-lived object (the main window), so at the end of
// the run it is deleted with it, waiting only for the files being handled.
//
// Threads: every member function belongs to the user-interface thread.

#include "icons/core/icon_search.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace vistrel {

class CaptureLibrary;

class IconSearchTask : public QObject {
    Q_OBJECT
public:
    // Found files reach library once a search has ended, and when an abandoned
    // task adds more; library must outlive the task.
    IconSearchTask(CaptureLibrary& library, QObject* parent);
    ~IconSearchTask() override; // stops the threads and waits for them

    // False while the last search is still running.
    bool Start(const IconSearchJob& job);
    // The threads end after their current file; finished follows.
    void Stop();
    bool IsRunning() const;
    int IconCount() const;
    // The dialog is going away: stop, and delete this task once the threads
    // have ended. Tells of files added so far at once.
    void Abandon();

signals:
    // currentFile: the path of the file just handled, as found, letter case
    // kept; iconCount: files written since the task began. Emitted on a worker
    // thread, so a window receives it as a queued call.
    void progress(const QString& currentFile, int iconCount);
    void finished();

private:
    void OnWritten(const QString& path);
    void OnFinished();
    void AppendFound();

    CaptureLibrary& m_library;
    std::vector<std::string> m_found; // written, not yet in the library
    bool m_abandoned = false;
    std::unique_ptr<IconSearch> m_search;
};

} // namespace vistrel
