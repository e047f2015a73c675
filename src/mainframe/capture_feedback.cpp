#include "mainframe/capture_feedback.h"

#include "base/registry_store.h"
#include "base/trace.h"
#include "library/model/capture_library.h"
#include "platform/qt/desktop_open.h"
#include "settings/preferences.h"
#include "ui/picture_clipboard.h"

#include <QFileInfo>

#include <utility>

namespace vistrel {

CaptureFeedback::CaptureFeedback(const CaptureLibrary& library, QObject* parent)
    : QObject(parent), m_library(library), m_notifications(this)
{
    for (FolderKind kind : {FOLDER_ICONS, FOLDER_BITMAPS, FOLDER_AVI})
        m_known[size_t(kind)] = library.files(kind).size();
    connect(&library, &CaptureLibrary::listChanged, this, &CaptureFeedback::OnListChanged);
}

namespace {

constexpr char kTimerSeries[] = "timer";

} // namespace

void CaptureFeedback::SetTimerRunning(bool running)
{
    m_timerRunning = running;
    if (running) // a new run starts a notification of its own
        m_notifications.EndSeries(QString(kTimerSeries));
}

void CaptureFeedback::OnListChanged(FolderKind kind)
{
    const auto& files = m_library.files(kind);
    const size_t known = std::exchange(m_known[size_t(kind)], files.size());
    if (kind == FOLDER_ICONS || files.size() <= known)
        return;
    const QString newest = QString::fromStdString(files.back());
    const RegistryStore preferences(RegistryStore::DefaultPath()); // read once per capture
    if (kind == FOLDER_BITMAPS && ReadPreference(preferences, kPrefClipboard) != 0) {
        const bool copied = CopyPictureFileToClipboard(newest);
        Trace(std::string(copied ? "on the clipboard: " : "not on the clipboard: ") + files.back());
    }
    if (ReadPreference(preferences, kPrefNotify) != 0)
        for (size_t i = known; i < files.size(); ++i)
            Announce(QString::fromStdString(files[i]), kind);
}

void CaptureFeedback::Announce(const QString& path, FolderKind kind)
{
    const QFileInfo file(path);
    const QString summary = kind == FOLDER_AVI ? "Recording saved" : "Capture saved";
    const QString body = QString("%1\nin %2").arg(file.fileName(), file.absolutePath());
    std::vector<DesktopNotifications::Action> actions {{"open", "Open"}, {"folder", "Show in folder"}};
    if (kind == FOLDER_BITMAPS)
        actions.insert(actions.begin() + 1, {"copy", "Copy"});
    const bool timerShot = m_timerRunning && kind == FOLDER_BITMAPS;
    m_notifications.Show(
        summary, body, actions,
        [path](const QString& key) {
            if (key == "open" || key == "default")
                OpenInDesktop(path);
            else if (key == "copy")
                CopyPictureFileToClipboard(path);
            else if (key == "folder")
                ShowInFileManager(path);
        },
        timerShot ? QString(kTimerSeries) : QString());
}

} // namespace vistrel
