// The main window in the tray and back: minimising to the tray, the tray's
// menu, and showing the window again.

#include "mainframe/main_frame.h"

#include "commands/command_ids.h"
#include "commands/menu_layout.h"
#include "i18n/translate.h"
#include "settings/env.h"
#include "settings/preferences.h"
#include "ui/pictures/pictures.h"
#include "ui/tray_notify_icon.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <QWindowStateChangeEvent>

namespace vistrel {

namespace {

constexpr int kMainTrayId = 264;

} // namespace

std::vector<std::pair<int, QString>> CMainFrame::TrayMenuTexts() const
{
    std::vector<uint32_t> ids;
    for (const MenuEntry& entry : TrayMenuLayout())
        ids.push_back(uint32_t(std::max(entry.id, 0)));
    const auto translated = TranslateMenuByCommand(theEnv, ids);
    std::vector<std::pair<int, QString>> texts;
    for (const MenuEntry& entry : TrayMenuLayout()) {
        QString text = QString::fromUtf8(entry.text.data(), int(entry.text.size()));
        for (const auto& [id, shown] : translated)
            if (int(id) == entry.id)
                text = QString::fromStdString(shown);
        texts.emplace_back(entry.id, text);
    }
    return texts;
}

QByteArray CMainFrame::Placement() const
{
    return isVisible() || m_hiddenPlacement.isEmpty() ? saveGeometry() : m_hiddenPlacement;
}

void CMainFrame::setVisible(bool visible)
{
    if (!visible && isVisible())
        m_hiddenPlacement = saveGeometry();
    else if (visible && !isVisible() && !m_hiddenPlacement.isEmpty()) {
        // Before it is mapped, so it never shows elsewhere. Qt believes it is
        // there already, and would map it with no place of its own for the
        // window manager to keep, unless its position is set outright.
        restoreGeometry(m_hiddenPlacement);
        if (QWindow* window = windowHandle())
            window->setPosition(geometry().topLeft());
    }
    QMainWindow::setVisible(visible);
}

void CMainFrame::MinimiseToTray()
{
    AddMainTray();
    m_bInTray = true;
    hide();
}

void CMainFrame::AddMainTray()
{
    if (m_pMainTray)
        return;
    auto menu = [this] {
        CTrayNotifyIcon::MenuEntries entries;
        for (auto& [id, text] : TrayMenuTexts()) {
            const QAction* action = Action(id);
            entries.push_back({id, text, id == ID_SHOW_MAIN_WINDOW || (action && action->isEnabled())});
        }
        return entries;
    };
    m_pMainTray = std::make_unique<CTrayNotifyIcon>(kMainTrayId, menu, [this](int id) { OnCommand(id); });
    m_pMainTray->Create("Vistrel", TrayIcon());
    m_pMainTray->SetMenuOnClick(ReadPreference(kPrefAlwaysTray) != 0);
}

void CMainFrame::RemoveMainTray()
{
    if (ReadPreference(kPrefAlwaysTray) == 0)
        m_pMainTray.reset();
}

void CMainFrame::FollowTrayPreference()
{
    if (ReadPreference(kPrefAlwaysTray) != 0)
        AddMainTray();
    else if (!m_bInTray)
        RemoveMainTray();
    if (m_pMainTray)
        m_pMainTray->SetMenuOnClick(ReadPreference(kPrefAlwaysTray) != 0);
}

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (isMinimized()) {
        // With no tray host the window minimises as any other: hidden in a tray
        // nobody shows, it could not be brought back.
        if (!m_bInTray && CTrayNotifyIcon::TrayAvailable())
            QTimer::singleShot(0, this, [this] {
                setWindowState(windowState() & ~Qt::WindowMinimized);
                MinimiseToTray();
            });
        return;
    }
    if (m_bInTray && isVisible()) { // restored or maximised by other means
        RemoveMainTray();
        m_bInTray = false;
    }
}

void CMainFrame::OnShowMainWindow()
{
    RemoveMainTray();
    m_bInTray = false;
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void CMainFrame::ActivateForAnotherCopy()
{
    if (m_bInTray || isMinimized() || !isVisible())
        OnShowMainWindow();
    raise();
    activateWindow();
    if (QWidget* dialog = QApplication::activeModalWidget()) {
        dialog->raise();
        dialog->activateWindow();
    }
}

} // namespace vistrel
