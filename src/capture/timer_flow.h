#pragma once
// TimerFlow: the timer captures of the windowed program. The timer command,
// its hotkey and the tray's "Stop &Capture" toggle it: with none running they
// open the dialog (unless another capture holds the busy flag), with one
// running they stop it. While it runs it holds the busy flag, shows the
// animated "Vistrel-Timer" tray icon and takes one shot per interval of the
// region through CaptureScreenArea, each file added to the capture library. A
// shot that cannot be grabbed or written ends the timer capture and is
// reported once with saveFailed, rather than once per interval.
//
// A timer capture asked for from the command line runs the same way, without
// the dialog and without hiding the window; its client gets each path as it is
// saved, and the answer once it ends (its count reached, interrupted, or
// stopped here).
//
// The main window owns it and routes its commands here. User-interface thread
// only.

#include "base/instance_channel.h"
#include "capture/core/timer_capture.h"
#include "library/core/capture_lists.h"
#include "platform/x11/screen_rect.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QTimer;
class QWidget;

namespace vistrel {

namespace x11 {
class Connection;
}

class CaptureBusy;
class CaptureLibrary;
class CEnv;
class CTrayNotifyIcon;
class PendingRequest;

class TimerFlow : public QObject {
    Q_OBJECT
public:
    // runCommand: where the tray menu's commands go (the main window's handler).
    TimerFlow(CEnv& env, CaptureLibrary& library, CaptureBusy& busy, QWidget* mainWindow,
              std::function<void(int command)> runCommand);
    ~TimerFlow() override; // stops a running timer capture

    bool running() const { return m_schedule.has_value(); }
    // The timer command, the timer hotkey and "Stop &Capture".
    void Toggle();
    void Stop();
    // A timer capture handed over by another copy's command line. It waits,
    // still withdrawable, while another capture runs.
    void RunForRequest(std::shared_ptr<PendingRequest> pending, const TimerRequest& request);

signals:
    // Before a timer capture: the library turns to the kind it adds to.
    void folderWanted(vistrel::FolderKind kind);
    // The dialog's choice of the mouse pointer, which later full-screen captures keep.
    void showMouseChosen(bool show);
    void mainWindowWanted();
    void saveFailed(const QString& text);
    void runningChanged(bool running);

private:
    void RunDialog();
    // false with the reason in error (no display).
    bool OpenDisplay(std::string& error);
    std::optional<x11::ScreenRect> Screen(std::string& error); // now
    void Start(const TimerPlan& plan, std::optional<int> shotLimit);
    void ScheduleNext();
    void OnTimer();
    void TakeShot();
    void ShowTray(const TimerPlan& plan);
    void Fail(const std::string& path, bool numberStored, const std::string& error);
    void AnswerRequest();

    CEnv& m_env;
    CaptureLibrary& m_library;
    CaptureBusy& m_busy;
    QWidget* m_mainWindow;
    std::function<void(int)> m_runCommand;
    std::unique_ptr<x11::Connection> m_display; // our own, for the shots
    QTimer* m_timer;                            // child of this
    std::optional<TimerPlan> m_plan;
    std::optional<TimerSchedule> m_schedule;
    std::unique_ptr<CTrayNotifyIcon> m_tray;
    bool m_bHidMainWindow = false;
    bool m_bDialogOpen = false;
    // The command line's timer capture, when this run is one.
    std::shared_ptr<PendingRequest> m_request;
    ChannelReply m_reply;
};

} // namespace vistrel
