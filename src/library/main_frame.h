#pragma once
// CMainFrame: the main window and the hub of the program. It holds the menus,
// the tool bar, the status bar, the two docking bars (folder tree and preview)
// and the list pane, receives the hotkeys and every command, and starts the
// captures (main_frame_capture.cpp), the recordings (main_frame_record.cpp)
// and the language changes
// (main_frame_language.cpp). User-interface thread only.

#include "capture/core/capture_geometry.h"
#include "capture/core/capture_request.h"
#include "codec/bitmap.h"
#include "library/core/capture_lists.h"
#include "platform/posix/instance_channel.h"
#include "platform/posix/instance_server.h"
#include "platform/qt/x11_hotkeys.h"
#include "platform/x11/lock_keys.h"
#include "platform/x11/x11_connection.h"
#include "record/core/record_request.h"

#include <QHash>
#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;

namespace vistrel {

class CaptureSaver;
class CFolderTreeCtrl;
class CListPaneView;
class CObjectCapture;
class CRegionSelectWnd;
class CTrayNotifyIcon;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();
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
    // program's own, done() called once the file is written (or not).
    void CaptureForRequest(const CaptureRequest& request, std::function<void(ChannelReply)> done);
    // A recording asked for from the command line: recorded like the dialog's,
    // answered once it has ended.
    void RecordForRequest(std::shared_ptr<PendingRequest> request, const RecordWords& words);
    // Writes what is still being saved; for the end of the run.
    void FinishSaving();

    bool inTray() const { return m_bInTray; }
    bool busy() const { return m_bBusy; }

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
    void SaveBarState();
    void RestoreBarState();
    void ShowFolder(FolderKind kind, bool selectInTree);
    void ShowStatusPrompt(int id);
    QString TipText(int id) const;

    // Capture side (main_frame_capture.cpp).
    void RegionCapture(CaptureShape shape);
    void StartObjectCapture();
    void EndObjectCapture(bool save);
    void OnCaptureDone(bool finished, std::optional<Bitmap> picture, const std::string& error);
    void OnAviHotKey();
    void RunAviCapture();
    void EndAviBusy(); // clears m_bBusy when the AVI hotkey set it
    void MinimiseToTray();
    void RemoveMainTray();
    std::vector<std::pair<int, QString>> TrayMenuTexts() const;

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
    QLabel* m_infoPane = nullptr;
    QLabel* m_totalPane = nullptr;
    QLabel* m_lockPanes[3] = {};

    X11Hotkeys m_hotkeys;
    std::unique_ptr<x11::Connection> m_x11; // our own, for the lock keys
    x11::LockKeyMasks m_lockMasks;
    std::unique_ptr<CaptureSaver> m_saver;
    std::unique_ptr<CRegionSelectWnd> m_regionSelect;
    std::unique_ptr<CObjectCapture> m_objectCapture;
    std::unique_ptr<CTrayNotifyIcon> m_pMainTray;
    bool m_bBusy = false;
    bool m_bAviBusy = false;       // m_bBusy was set by the AVI hotkey
    bool m_bAviDialogOpen = false;
    bool m_bShowMouse = true;
    bool m_bInTray = false;
    // While a capture asked for from the command line runs: where its end goes.
    std::function<void(ChannelReply)> m_requestDone;
};

} // namespace vistrel
