#pragma once
// CMainFrame: the main window and the hub of the program. It holds the menus,
// the tool bar, the status bar, the two docking bars (folder tree and preview)
// and the list pane, receives the hotkeys and every command and routes them:
// still captures to its CaptureFlow, timer captures to its TimerFlow,
// recordings to its RecordFlow; it opens the help window and the About box.
// Its files:
// main_frame.cpp (layout, commands, hotkeys), main_frame_tray.cpp (the tray and
// showing the window again where it was), main_frame_language.cpp (the menus
// in the chosen language), main_frame_hotkeys.cpp (the Options sheet and the
// hotkeys another program holds). User-interface thread only.

#include "base/instance_channel.h"
#include "base/instance_server.h"
#include "capture/core/capture_busy.h"
#include "capture/core/capture_request.h"
#include "capture/core/timer_capture.h"
#include "library/core/capture_lists.h"
#include "platform/qt/x11_hotkeys.h"
#include "platform/x11/lock_keys.h"
#include "platform/x11/x11_connection.h"
#include "record/core/record_request.h"

#include <QByteArray>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <memory>

class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;

namespace vistrel {

class CaptureFeedback;
class CaptureFlow;
class CaptureLibrary;
class CFolderTreeCtrl;
class CHelpWindow;
class CListPaneView;
class CPreviewWnd;
class CTrayNotifyIcon;
class RecordFlow;
enum class OptionsStart;
class TimerFlow;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // library: the program's, which outlives the window.
    explicit CMainFrame(CaptureLibrary& library);
    ~CMainFrame() override; // saves the bar layout, unregisters the hotkeys
    // Once the window is shown: the hotkeys and the lock-key indicators. Nothing
    // runs between the two, but the window reaches the screen sooner.
    void StartServices();

    // The hotkey handler: every system-wide hotkey arrives here with its id.
    void OnHotKey(int id);
    // Every command of the menus, the tool bar and the tray menu.
    void OnCommand(int id);
    // ID_SHOW_MAIN_WINDOW: bring the window back from wherever it was put away.
    void OnShowMainWindow();
    // A later copy of the program was started: show this one and bring it, or
    // the dialog it has open, to the front.
    void ActivateForAnotherCopy();
    // A capture asked for from the command line: carried out like the
    // program's own once no other capture runs (see CaptureFlow).
    void CaptureForRequest(std::shared_ptr<PendingRequest> pending, const CaptureRequest& request);
    // A recording asked for from the command line: recorded like the dialog's,
    // answered once it has ended.
    void RecordForRequest(std::shared_ptr<PendingRequest> request, const RecordWords& words);
    // A timer capture asked for from the command line: run like the dialog's,
    // answered with its files once it ends.
    void TimerForRequest(std::shared_ptr<PendingRequest> request, const TimerRequest& timer);
    // --select of another copy: the selection its hotkey opens (see CaptureFlow).
    void SelectForRequest(std::shared_ptr<PendingRequest> request, SelectShape shape);
    // --record-dialog of another copy: what the recording hotkey does, answered
    // at once (status 1 while another capture runs).
    void RecordDialogForRequest(const std::shared_ptr<PendingRequest>& request);
    // Writes what is still being saved; for the end of the run.
    void FinishSaving();

    bool inTray() const { return m_bInTray; }
    bool busy() const { return m_busy.busy(); }

    // Hidden (by a capture, or in the tray) the window keeps its place and size
    // and comes back there; the window manager would otherwise place it anew.
    void setVisible(bool visible) override;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Layout (main_frame.cpp).
    void BuildMenus();
    QMenu* BuildPopup(int position);
    void BuildToolBar();
    void BuildStatusBar();
    void BuildBars();
    QAction* Action(int id) const { return m_actions.value(id, nullptr); }
    void UpdateCommandStates();
    void UpdateLockKeys();
    void SaveBarState(); // with the window's placement
    void RestoreBarState();
    QByteArray Placement() const;
    void ShowFolder(FolderKind kind, bool selectInTree);
    void ShowStatusPrompt(int id);
    void ShowRecordingStatus(const QString& text); // empty: the recording has ended
    QString TipText(int id) const;

    void ShowSaveFailure(const QString& text);
    CHelpWindow* HelpWindow(); // made at its first use

    // The tray and the window's placement (main_frame_tray.cpp).
    void MinimiseToTray();
    void AddMainTray();
    void RemoveMainTray(); // unless the icon is always there
    std::vector<std::pair<int, QString>> TrayMenuTexts() const;

    // After the Options sheet applied the preferences: the tray as they say.
    void FollowTrayPreference();

    // The Options sheet and taken hotkeys (main_frame_hotkeys.cpp).
    void RunOptions(OptionsStart start);
    // The keys another program held at the last registration: in the status
    // bar and a notice; with none, the status bar's word on them goes.
    void ReportTakenHotkeys();

    // Languages (main_frame_language.cpp).
    void TranslateMenus();
    void RebuildLanguageMenu();
    void OnLanguageCommand(int id);

    QHash<int, QAction*> m_actions;
    QMenu* m_languageMenu = nullptr;
    QToolBar* m_toolBar = nullptr;
    QToolButton* m_viewButton = nullptr;
    QDockWidget* m_folderBar = nullptr;
    QDockWidget* m_previewBar = nullptr;
    CFolderTreeCtrl* m_folderTree = nullptr;
    CListPaneView* m_listPane = nullptr;
    CPreviewWnd* m_preview = nullptr;
    QLabel* m_infoPane = nullptr;
    QLabel* m_totalPane = nullptr;
    QLabel* m_lockPanes[3] = {};
    CHelpWindow* m_helpWindow = nullptr;

    CaptureLibrary& m_library;
    X11Hotkeys m_hotkeys;
    std::unique_ptr<x11::Connection> m_x11; // our own, for the lock keys
    x11::LockKeyMasks m_lockMasks;
    CaptureBusy m_busy; // one capture at a time, whichever flow runs it
    std::unique_ptr<CaptureFlow> m_captureFlow;
    std::unique_ptr<TimerFlow> m_timerFlow;
    std::unique_ptr<RecordFlow> m_recordFlow;
    std::unique_ptr<CaptureFeedback> m_feedback;
    std::unique_ptr<CTrayNotifyIcon> m_pMainTray;
    bool m_bInTray = false;
    QByteArray m_hiddenPlacement; // where the window was when it was last hidden
    QPointer<QWidget> m_takenNotice; // the notice of taken hotkeys, while open
    QString m_takenStatus;           // its line in the status bar
};

} // namespace vistrel
