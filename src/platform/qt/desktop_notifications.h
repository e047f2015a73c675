#pragma once
// Desktop notifications through the freedesktop notification service
// (org.freedesktop.Notifications on the session bus). A notification is sent
// without waiting for the answer, so nothing is held up; with no bus or no
// service nothing is shown and nothing is said. An action the user picks in a
// notification comes back as a call of its handler. User-interface thread only.

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <vector>

namespace vistrel {

class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    struct Action {
        QString key;
        QString text;
    };
    using ActionHandler = std::function<void(const QString& key)>;

    explicit DesktopNotifications(QObject* parent = nullptr);

    void Show(const QString& summary, const QString& body, const std::vector<Action>& actions,
              ActionHandler onAction);

private slots:
    void OnActionInvoked(uint id, const QString& key);
    void OnClosed(uint id, uint reason);

private:
    std::map<uint, ActionHandler> m_handlers; // by the service's notification id
    bool m_listening = false;                  // for the service's signals
};

// Shows the file selected in the desktop's file manager (its D-Bus ShowItems),
// else opens its folder with the desktop's handler.
void ShowInFileManager(const QString& path);

} // namespace vistrel
