#include "library/main_frame.h"

#include "platform/posix/trace.h"
#include "settings/env.h"

#include <QApplication>

#include <cstdio>

namespace vistrel {

CMainFrame::CMainFrame()
{
    setWindowTitle("Vistrel");
    resize(720, 480);
    connect(&m_hotkeys, &X11Hotkeys::hotkeyPressed, this, &CMainFrame::OnHotKey);
    theEnv.SetHotkeyRegistrar(&m_hotkeys);
    theEnv.RegisterHotkeys(false);
}

CMainFrame::~CMainFrame()
{
    theEnv.UnregisterHotkeys(false);
    theEnv.SetHotkeyRegistrar(nullptr);
}

void CMainFrame::OnHotKey(int id)
{
    char text[32];
    std::snprintf(text, sizeof text, "hotkey 0x%x", unsigned(id));
    Trace(text);
}

void CMainFrame::OnShowMainWindow()
{
    show();
    raise();
}

void CMainFrame::ActivateForAnotherCopy()
{
    if (isMinimized())
        showNormal();
    else
        OnShowMainWindow();
    raise();
    activateWindow();
    if (QWidget* dialog = QApplication::activeModalWidget()) {
        dialog->raise();
        dialog->activateWindow();
    }
}

} // namespace vistrel
