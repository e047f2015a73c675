#pragma once
// CTrayNotifyIcon: one icon in the desktop's notification area (the system
// tray), plain or animated. A right click shows its menu, built afresh each
// time from the owner's entries with the first one in bold; a double click runs
// the first entry. The commands go to the owner's command handler. When the
// tray host restarts, the toolkit docks the icon again by itself.
// User-interface thread only.

#include <QIcon>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace vistrel {

class CTrayNotifyIcon : public QObject {
    Q_OBJECT
public:
    struct MenuEntry {
        int command; // 0: a separator
        QString text;
        bool enabled = true;
    };
    using MenuEntries = std::vector<MenuEntry>;
    using MenuSource = std::function<MenuEntries()>;
    // Called later from the event loop, so it may delete this icon.
    using CommandHandler = std::function<void(int command)>;

    CTrayNotifyIcon(int id, MenuSource menu, CommandHandler onCommand, QObject* parent = nullptr);
    ~CTrayNotifyIcon() override; // RemoveIcon

    bool Create(const QString& tip, const QIcon& icon);
    // Animated: the frames in turn, one every delayMs, starting from the first.
    bool Create(const QString& tip, std::vector<QIcon> frames, int delayMs);
    // The text shown when the pointer rests on the icon; nothing before Create.
    void SetTip(const QString& tip);
    QString tip() const;
    void RemoveIcon();
    void HideIcon();
    void ShowIcon();
    // A left click shows the menu too (for an icon that is always there).
    void SetMenuOnClick(bool onClick) { m_menuOnClick = onClick; }

    int id() const { return m_id; }
    bool added() const { return m_bAdded; }
    int frame() const { return m_frame; }
    // True when a tray host is there to take an icon.
    static bool TrayAvailable();

private:
    void OnActivated(int reason);
    void ShowMenu();
    void NextFrame();
    void Run(int command) const;

    int m_id;
    MenuSource m_menu;
    CommandHandler m_onCommand;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::unique_ptr<QMenu> m_popup;
    QTimer* m_animation = nullptr; // child of this
    std::vector<QIcon> m_frames;
    int m_frame = 0;
    bool m_bAdded = false;
    bool m_bHidden = false;
    bool m_menuOnClick = false;
};

} // namespace vistrel
