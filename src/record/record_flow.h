#pragma once
// RecordFlow: the recordings of the windowed program: the "Record &AVI"
// command, the AVI hotkey, and recordings asked for from the command line. The
// recorder and its dialogs come from the recorder module, loaded on first use;
// recorded files reach the capture library. The main window owns it.
// User-interface thread only.

#include "library/core/capture_lists.h"
#include "record/core/record_request.h"

#include <QObject>

#include <memory>

class QWidget;

namespace vistrel {

class CaptureBusy;
class CaptureLibrary;
class PendingRequest;

class RecordFlow : public QObject {
    Q_OBJECT
public:
    // dialogParent: the window the dialog and its messages belong to.
    RecordFlow(CaptureLibrary& library, CaptureBusy& busy, QWidget* dialogParent);

    // The menu command: opens the dialog (modal; returns once it is closed).
    void RunAviCapture();
    // The AVI hotkey: opens the dialog, or lets the open one take the press (it
    // stops its recording). Ignored while another capture holds the busy flag.
    void OnAviHotKey();
    bool dialogOpen() const { return m_bAviDialogOpen; }
    // A recording handed over by another copy's command line.
    void RecordForRequest(std::shared_ptr<PendingRequest> request, const RecordWords& words);

signals:
    // The library turns to the kind a recording adds to.
    void folderWanted(vistrel::FolderKind kind);
    // How the dialog's recording goes, once a second ("Recording 0:07 —
    // 3.2 MB"); empty once it has ended.
    void recordingStatus(const QString& text);

private:
    void EndAviBusy(); // clears the busy flag when the AVI hotkey set it

    CaptureLibrary& m_library;
    CaptureBusy& m_busy;
    QWidget* m_dialogParent;
    bool m_bAviBusy = false; // the busy flag was set by the AVI hotkey
    bool m_bAviDialogOpen = false;
};

} // namespace vistrel
