#include "ui/tray_notify_icon.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

namespace vistrel {

CTrayNotifyIcon::CTrayNotifyIcon(int id, MenuSource menu, CommandHandler onCommand, QObject* parent)
    : QObject(parent), m_id(id), m_menu(std::move(menu)), m_onCommand(std::move(onCommand))
{
}

CTrayNotifyIcon::~CTrayNotifyIcon() { RemoveIcon(); }

bool CTrayNotifyIcon::TrayAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool CTrayNotifyIcon::Create(const QString& tip, const QIcon& icon)
{
    m_icon = std::make_unique<QSystemTrayIcon>(icon);
    SetTip(tip);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        OnActivated(int(reason));
    });
    m_icon->show();
    m_bAdded = m_icon->isVisible();
    m_bHidden = false;
    return m_bAdded;
}

bool CTrayNotifyIcon::Create(const QString& tip, std::vector<QIcon> frames, int delayMs)
{
    if (frames.empty())
        return false;
    m_frames = std::move(frames);
    m_frame = 0;
    m_animation = new QTimer(this);
    connect(m_animation, &QTimer::timeout, this, &CTrayNotifyIcon::NextFrame);
    m_animation->start(std::max(1, delayMs));
    return Create(tip, m_frames.front());
}

void CTrayNotifyIcon::SetTip(const QString& tip)
{
    // The tray host limits tips; the older hosts to 63 characters.
    if (m_icon)
        m_icon->setToolTip(tip.left(63));
}

QString CTrayNotifyIcon::tip() const { return m_icon ? m_icon->toolTip() : QString(); }

void CTrayNotifyIcon::RemoveIcon()
{
    if (m_animation)
        m_animation->stop();
    m_popup.reset();
    if (m_icon)
        m_icon->hide();
    m_icon.reset();
    m_bAdded = false;
}

void CTrayNotifyIcon::HideIcon()
{
    if (m_bHidden || !m_icon)
        return;
    m_icon->hide();
    m_bHidden = true;
}

void CTrayNotifyIcon::ShowIcon()
{
    if (!m_bHidden || !m_icon)
        return;
    m_icon->show();
    m_bHidden = false;
}

void CTrayNotifyIcon::NextFrame()
{
    if (m_frames.empty() || !m_icon)
        return;
    m_frame = (m_frame + 1) % int(m_frames.size());
    m_icon->setIcon(m_frames[size_t(m_frame)]);
}

void CTrayNotifyIcon::Run(int command) const
{
    if (!m_onCommand)
        return;
    QMetaObject::invokeMethod(
        qApp, [handler = m_onCommand, command] { handler(command); }, Qt::QueuedConnection);
}

void CTrayNotifyIcon::OnActivated(int reason)
{
    switch (QSystemTrayIcon::ActivationReason(reason)) {
    case QSystemTrayIcon::Context: ShowMenu(); break;
    case QSystemTrayIcon::Trigger:
        if (m_menuOnClick)
            ShowMenu();
        break;
    case QSystemTrayIcon::DoubleClick: {
        const MenuEntries entries = m_menu ? m_menu() : MenuEntries();
        if (!entries.empty() && entries.front().command != 0 && entries.front().enabled)
            Run(entries.front().command);
        break;
    }
    default: break;
    }
}

void CTrayNotifyIcon::ShowMenu()
{
    const MenuEntries entries = m_menu ? m_menu() : MenuEntries();
    if (entries.empty())
        return;
    m_popup = std::make_unique<QMenu>();
    bool first = true;
    for (const MenuEntry& entry : entries) {
        if (entry.command == 0) {
            m_popup->addSeparator();
            continue;
        }
        QAction* action = m_popup->addAction(entry.text);
        action->setEnabled(entry.enabled);
        if (std::exchange(first, false)) {
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
            m_popup->setDefaultAction(action);
        }
        const int id = entry.command;
        connect(action, &QAction::triggered, this, [this, id] { Run(id); });
    }
    m_popup->popup(QCursor::pos());
}

} // namespace vistrel
