// The recording side of the main window: the "Record &AVI" command, the AVI
// hotkey, and recordings asked for from the command line. The recorder and its
// dialogs come from the recorder module, loaded on first use.

#include "library/main_frame.h"

#include "library/list_pane.h"
#include "platform/posix/trace.h"
#include "record/recorder_module.h"
#include <QMessageBox>
#include <QTimer>

namespace vistrel {

namespace {

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

void CMainFrame::RunAviCapture()
{
    if (m_bAviDialogOpen) { // opened from a hotkey while the menu command waited
        OnAviHotKey();
        return;
    }
    const RecorderEntryPoints* recorder = Recorder(this);
    if (!recorder) {
        EndAviBusy();
        return;
    }
    ShowFolder(FOLDER_AVI, true);
    m_bAviDialogOpen = true;
    Trace("avi dialog opened");
    recorder->runAviCaptureDialog(this, [this] { m_listPane->ShowAppended(FOLDER_AVI); });
    m_bAviDialogOpen = false;
    Trace("avi dialog closed");
    // With the dialog gone the AVI hotkey has nothing left to stop: the other
    // hotkeys work again at once rather than after one more press.
    EndAviBusy();
}

void CMainFrame::EndAviBusy()
{
    if (std::exchange(m_bAviBusy, false))
        m_bBusy = false;
}

void CMainFrame::OnAviHotKey()
{
    if (m_bAviDialogOpen) {
        // The dialog takes the press: it stops its recording, or comes to the front.
        if (const RecorderEntryPoints* recorder = Recorder(nullptr))
            recorder->stopRunningRecording();
        EndAviBusy();
        return;
    }
    if (m_bBusy) // another capture runs
        return;
    m_bBusy = true;
    m_bAviBusy = true;
    // Not from inside the hotkey's own event: the dialog runs a loop of its own.
    QTimer::singleShot(0, this, [this] { RunAviCapture(); });
}

void CMainFrame::RecordForRequest(std::shared_ptr<PendingRequest> request, const RecordWords& words)
{
    std::string error;
    const RecorderEntryPoints* recorder = LoadRecorder(error);
    if (!recorder) {
        request->Finish({1, {}, error});
        return;
    }
    // As with stills asked for there: the list turns to where the file went.
    recorder->recordForRequest(std::move(request), words, [this] {
        ShowFolder(FOLDER_AVI, true);
        m_listPane->ShowAppended(FOLDER_AVI);
    });
}

} // namespace vistrel
