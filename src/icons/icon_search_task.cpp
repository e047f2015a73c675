#include "icons/icon_search_task.h"

#include "library/model/capture_library.h"

#include <utility>

namespace vistrel {

IconSearchTask::IconSearchTask(CaptureLibrary& library, QObject* parent) : QObject(parent), m_library(library)
{
    IconSearchCallbacks callbacks;
    // These run on the workers. A queued call to this object is dropped if the
    // object is gone by then; it cannot be gone earlier, as its destructor
    // waits for the workers before the object ends.
    callbacks.fileWritten = [this](const std::string& path) {
        QMetaObject::invokeMethod(
            this, [this, written = QString::fromStdString(path)] { OnWritten(written); }, Qt::QueuedConnection);
    };
    callbacks.progress = [this](const std::string& currentFile, int iconCount) {
        emit progress(QString::fromStdString(currentFile), iconCount);
    };
    callbacks.finished = [this] { QMetaObject::invokeMethod(this, &IconSearchTask::OnFinished, Qt::QueuedConnection); };
    m_search = std::make_unique<IconSearch>(std::move(callbacks));
}

IconSearchTask::~IconSearchTask()
{
    m_search.reset(); // before anything the callbacks use goes
}

bool IconSearchTask::Start(const IconSearchJob& job) { return m_search->Start(job); }

void IconSearchTask::Stop() { m_search->Stop(); }

bool IconSearchTask::IsRunning() const { return m_search->IsRunning(); }

int IconSearchTask::IconCount() const { return m_search->IconCount(); }

void IconSearchTask::Abandon()
{
    m_abandoned = true;
    m_search->Stop();
    AppendFound();
    // A finished search may still have calls on their way; they come first.
    if (!m_search->IsRunning())
        deleteLater();
}

void IconSearchTask::OnWritten(const QString& path)
{
    m_found.push_back(path.toStdString());
}

void IconSearchTask::OnFinished()
{
    if (m_search->IsRunning()) // a new search began before this call arrived
        return;
    AppendFound();
    emit finished();
    if (m_abandoned)
        deleteLater();
}

void IconSearchTask::AppendFound()
{
    m_library.Append(FOLDER_ICONS, std::exchange(m_found, {}));
}

} // namespace vistrel
