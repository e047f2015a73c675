#pragma once
// CaptureFlow: the still captures of the windowed program. It keeps captures
// from overlapping (the busy flag it shares with the recordings), runs the
// region, full-screen and object captures and those asked for from the command
// line, and hands every picture to the saver, whose files reach the capture
// library. A capture the window took that cannot be written is reported with
// saveFailed; one asked for from the command line is answered to its client.
// The main window owns it and routes its capture commands and hotkeys here.
// User-interface thread only.

#include "base/instance_channel.h"
#include "capture/core/capture_geometry.h"
#include "capture/core/capture_request.h"
#include "codec/bitmap.h"
#include "library/core/capture_lists.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace vistrel {

class CaptureBusy;
class CaptureLibrary;
class CaptureSaver;
class CEnv;
class CObjectCapture;
class CRegionSelectWnd;
class HotkeyRegistrar;
class PendingRequest;
struct SavedCapture;

// What the window says of a capture of its own that was not written whole
// (the file, or its number in the settings); empty when all went well. The one
// wording of saveFailed, whichever flow took the capture.
QString SaveFailureText(const SavedCapture& saved);

class CaptureFlow : public QObject {
    Q_OBJECT
public:
    // mainWindow: hidden during a capture when the settings ask for it;
    // inTray: whether it sits in the tray, so a capture does not show it again.
    CaptureFlow(CEnv& env, CaptureLibrary& library, CaptureBusy& busy, HotkeyRegistrar& hotkeys,
                QWidget* mainWindow, std::function<bool()> inTray);
    ~CaptureFlow() override; // writes what is still being saved

    // A selection of the shape; answer, when given, gets the saved file's path
    // (or why there is none) instead of the window telling the user.
    using Answer = std::function<void(ChannelReply)>;
    void RegionCapture(CaptureShape shape, Answer answer = {});
    void StartObjectCapture();
    // The object hotkey: starts an object capture, or takes the framed window.
    void OnObjectHotKey();
    // Escape, a hotkey only while an object capture runs: cancels it.
    void OnEscapeHotKey();
    // A capture asked for from the command line. It waits, still withdrawable,
    // while another capture runs; a request whose client has gone by then is
    // dropped. Answered once the file is written (or not).
    void CaptureForRequest(std::shared_ptr<PendingRequest> pending, const CaptureRequest& request);
    // --select of another copy: the selection its hotkey opens, answered with the
    // saved file's path, or status 1 when it is cancelled. Waits, still
    // withdrawable, while another capture runs; --select object while an
    // object capture runs is its second press.
    void SelectForRequest(std::shared_ptr<PendingRequest> pending, SelectShape shape);
    // Writes what is still being saved; for the end of the run.
    void FinishSaving();

    // Whether a full-screen capture shows the mouse pointer.
    void SetShowMouse(bool show) { m_bShowMouse = show; }

signals:
    // Before a capture: the library turns to the kind it will add to.
    void folderWanted(vistrel::FolderKind kind);
    // After an object capture the main window comes back, wherever it was.
    void mainWindowWanted();
    // A capture of the window's own could not be written; text says which file and why.
    void saveFailed(const QString& text);

private:
    void EndObjectCapture(bool save);
    // A request of another copy, started (true) once no capture runs; until
    // then retry is called again later, and false returned.
    bool StartWhenFree(const std::shared_ptr<PendingRequest>& pending, std::function<void()> retry);
    void OnCaptureDone(bool finished, std::optional<Bitmap> picture, const std::string& error, Answer answer);
    void Save(Bitmap picture, Answer answer);
    void ReportSaved(const SavedCapture& saved, const Answer& answer);

    CEnv& m_env;
    CaptureLibrary& m_library;
    CaptureBusy& m_busy;
    HotkeyRegistrar& m_hotkeys;
    QWidget* m_mainWindow;
    std::function<bool()> m_inTray;
    std::unique_ptr<CaptureSaver> m_saver;
    std::unique_ptr<CRegionSelectWnd> m_regionSelect;
    std::unique_ptr<CObjectCapture> m_objectCapture;
    std::vector<Answer> m_objectAnswers; // the --select object requests the object capture answers
    bool m_bShowMouse = true;
};

} // namespace vistrel
