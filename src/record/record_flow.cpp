#include "record/record_flow.h"

#include "base/instance_server.h"
#include "base/trace.h"
#include "capture/core/capture_busy.h"
#include "record/recorder_module.h"

#include <QMessageBox>
#include <QTimer>

#include <utility>

namespace vistrel {

namespace {

// The module, or nullptr after telling why (in a message box when parent is given).
const RecorderEntryPoints* Recorder(QWidget* parent)
{
    std::string error;
    const RecorderEntryPoints* recorder = LoadRecorder(error);
    if (!recorder) {
        Trace(error);
        if (parent)
            QMessageBox::warning(parent, "Error", QString::fromStdString(error));
    }
    return recorder;
}

} // namespace

RecordFlow::RecordFlow(CaptureLibrary& library, CaptureBusy& busy, QWidget* dialogParent)
    : m_library(library), m_busy(busy), m_dialogParent(dialogParent)
{
}

void RecordFlow::RunAviCapture()
{
    if (m_bAviDialogOpen) { // opened from a hotkey while the menu command waited
        OnAviHotKey();
        return;
    }
    const RecorderEntryPoints* recorder = Recorder(m_dialogParent);
    if (!recorder) {
        EndAviBusy();
        return;
    }
    emit folderWanted(FOLDER_AVI);
    m_bAviDialogOpen = true;
    Trace("avi dialog opened");
    recorder->runAviCaptureDialog(m_dialogParent, m_library, [this](const std::string& text) {
        emit recordingStatus(QString::fromStdString(text));
    });
    m_bAviDialogOpen = false;
    Trace("avi dialog closed");
    // With the dialog gone the AVI hotkey has nothing left to stop: the other
    // hotkeys work again at once rather than after one more press.
    EndAviBusy();
}

void RecordFlow::EndAviBusy()
{
    if (std::exchange(m_bAviBusy, false))
        m_busy.Clear();
}

void RecordFlow::OnAviHotKey()
{
    if (m_bAviDialogOpen) {
        // The dialog takes the press: it stops its recording, or comes to the front.
        if (const RecorderEntryPoints* recorder = Recorder(nullptr))
            recorder->stopRunningRecording();
        EndAviBusy();
        return;
    }
    if (m_busy.busy()) // another capture runs
        return;
    m_busy.Set();
    m_bAviBusy = true;
    // Not from inside the hotkey's own event: the dialog runs a loop of its own.
    QTimer::singleShot(0, this, [this] { RunAviCapture(); });
}

void RecordFlow::RecordForRequest(std::shared_ptr<PendingRequest> request, const RecordWords& words)
{
    std::string error;
    const RecorderEntryPoints* recorder = LoadRecorder(error);
    if (!recorder) {
        request->Finish({1, {}, error});
        return;
    }
    // As with stills asked for there: the list turns to where the file goes.
    emit folderWanted(FOLDER_AVI);
    recorder->recordForRequest(std::move(request), words, m_library);
}

} // namespace vistrel
