#pragma once
// CAviCaptureDlg, the "AVI Capture" dialog: the recorder's options, the area
// to record, and Start / Stop. While a recording runs the dialog cannot be
// closed, a tray icon offers "Stop Recording", and the AVI hotkey stops it
// (StopRunningRecording). Every file a recording leaves is added to
// the capture library's AVI list. The global hotkeys but the AVI one are let go while the
// dialog is open.
//
// The recorder's options live for the whole run: each opening shows the values
// the last one left (except "minimize", unticked each time).
//
// User-interface thread only.

#include "commands/command_ids.h"
#include "record/core/record_options.h"
#include "record/engine/avi_recorder.h"

#include <QDialog>
#include <QString>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTimer;

namespace vistrel {

class CaptureLibrary;
class CFlashingFollower;
class CFlashingWnd;
class CRecordRegionWnd;
class CTrayNotifyIcon;

// Told, once a second while a recording runs, how it goes ("Recording 0:07 —
// 3.2 MB", as the tray icon's tip says), and an empty text once it has ended.
using RecordingStatusSink = std::function<void(const std::string& text)>;

// Runs the dialog modally for the main window's "Record &AVI" command and its
// AVI hotkey. Each recorded file is appended to library's AVI list, on this thread.
void RunAviCaptureDialog(QWidget* parent, CaptureLibrary& library, RecordingStatusSink status = {});

// For the AVI hotkey: true when the dialog is open and took the press, which
// stops a running recording (and otherwise only raises the dialog); false when
// no dialog is open, so the press should open one.
bool StopRunningRecording();

// The recorder's options of this run, as the dialog leaves them.
AviRecordOptions& RunRecordOptions();

// The recording tray icon's identifier; its menu command is ID_STOP_RECORDING.
constexpr int kRecordTrayId = 205;

class CAviCaptureDlg : public QDialog {
    Q_OBJECT
public:
    // Idle: Start and Close enabled. Busy: started (recording, or a failed
    // recording not yet stopped): only Stop. Ending: a stop was asked for and
    // the file is being finished: nothing until it is.
    enum class Phase { Idle, Busy, Ending };

    CAviCaptureDlg(QWidget* parent, AviRecordOptions& options, CaptureLibrary& library);
    ~CAviCaptureDlg() override; // stops a running recording and waits for it; takes the hotkeys again

    // The control with this identifier (as the dialog's table numbers them).
    QWidget* Control(int id) const;
    Phase phase() const { return m_phase; }
    const CTrayNotifyIcon* trayIcon() const { return m_tray.get(); }
    const std::string& lastPath() const { return m_lastPath; }
    void SetStatusSink(RecordingStatusSink sink) { m_statusSink = std::move(sink); }

    // The buttons' actions, as a click on them.
    void OnStart();
    void OnStop();
    // Close, Escape, the title bar: refused while started.
    void reject() override;

signals:
    // A recording has ended (after the list, the tray icon and the windows are
    // updated); for the tests.
    void recordingEnded(bool ok);

private:
    // The constructor's parts: one builder per group box or row, which makes the
    // controls it alone uses, lays out its own and enters them in m_controls;
    // then one step that connects them. The member controls are made first, in
    // the initializer list, as the Tab order follows the order widgets are made.
    QGroupBox* BuildOptionsGroup();
    QGroupBox* BuildRegionGroup();
    QLayout* BuildPriorityRow();
    QLayout* BuildButtonRow();
    void ConnectControls();

    void SetPhase(Phase phase);
    void SetRegionMode(int mode);
    void UpdateAutoPan();
    void StartRecording(const RecordRegion& region);
    void OnRegionChosen(std::optional<RecordRegion> region);
    void OnSelectRegion();
    void OnRecordingFinished(const RecordEnd& end);
    void ShowWindowsAgain();
    void ShowRecordingStatus();
    void EndRecordingStatus();
    void Play(const std::string& path);

    AviRecordOptions& m_options;
    CaptureLibrary& m_library;
    std::map<int, QWidget*> m_controls;
    QCheckBox* m_autoPan;
    QSlider* m_panSpeed;
    QLabel* m_panSpeedValue;
    QLabel* m_panSpeedLabel;
    QCheckBox* m_minimize;
    QCheckBox* m_hideFlashing;
    QCheckBox* m_play;
    QPushButton* m_videoOptions = nullptr;
    QPushButton* m_cursorOptions = nullptr;
    QRadioButton* m_custom;
    QRadioButton* m_fixed;
    QRadioButton* m_fullScreen;
    QSpinBox* m_width;
    QSpinBox* m_height;
    QPushButton* m_selectRegion = nullptr;
    QComboBox* m_priority;
    QPushButton* m_start;
    QPushButton* m_stop;
    QPushButton* m_close;
    QLabel* m_stopHint = nullptr;

    Phase m_phase = Phase::Idle;
    bool m_minimized = false; // the windows were hidden at Start
    RecordRegion m_region;    // the area of the last Start
    std::string m_lastPath;
    RecordingStatusSink m_statusSink;
    QTimer* m_statusTimer;
    QString m_statusFormat; // the status line, translated when the recording starts
    std::string m_recordingPath;
    std::chrono::steady_clock::time_point m_recordingSince;
    std::unique_ptr<CTrayNotifyIcon> m_tray;
    std::unique_ptr<CFlashingWnd> m_flashing; // around the area while it is recorded
    std::unique_ptr<CFlashingFollower> m_follower; // blinks it at each grab
    std::unique_ptr<CRecordRegionWnd> m_selector;
    std::unique_ptr<AviRecorder> m_recorder; // last member: its worker ends before the rest goes
};

} // namespace vistrel
