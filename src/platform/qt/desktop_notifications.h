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

    // A notification of a series (series not empty) takes the place of the one
    // the series showed before it, rather than adding another.
    void Show(const QString& summary, const QString& body, const std::vector<Action>& actions,
              ActionHandler onAction, const QString& series = {});
    // The series' next notification is a new one.
    void EndSeries(const QString& series) { m_series.erase(series); }

private slots:
    void OnActionInvoked(uint id, const QString& key);
    void OnClosed(uint id, uint reason);

private:
    std::map<uint, ActionHandler> m_handlers; // by the service's notification id
    std::map<QString, uint> m_series;          // the last notification of each series
    bool m_listening = false;                  // for the service's signals
};

// Shows the file selected in the desktop's file manager (its D-Bus ShowItems),
// else opens its folder with the desktop's handler.
void ShowInFileManager(const QString& path);

} // namespace vistrel
