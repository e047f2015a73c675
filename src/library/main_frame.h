#pragma once
// CMainFrame: the main window, the hub that receives hotkeys and commands.
// User-interface thread only.

#include "platform/qt/x11_hotkeys.h"

#include <QMainWindow>

namespace vistrel {

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override; // unregisters the hotkeys

    // The hotkey handler: every system-wide hotkey arrives here with its id.
    void OnHotKey(int id);
    // ID_SHOW_MAIN_WINDOW: bring the window back from wherever it was put away.
    void OnShowMainWindow();
    // A later copy of the program was started: show this one and bring it, or
    // the dialog it has open, to the front.
    void ActivateForAnotherCopy();

private:
    X11Hotkeys m_hotkeys;
};

} // namespace vistrel
