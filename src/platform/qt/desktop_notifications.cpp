#include "platform/qt/desktop_notifications.h"

#include "platform/qt/desktop_open.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QUrl>
#include <QVariantMap>

#include <utility>

namespace vistrel {

namespace {

const char* const kService = "org.freedesktop.Notifications";
const char* const kPath = "/org/freedesktop/Notifications";
const char* const kInterface = "org.freedesktop.Notifications";
// How long a notification stays, in ms; the service's own choice with -1.
constexpr int kExpireMs = 8000;

} // namespace

DesktopNotifications::DesktopNotifications(QObject* parent) : QObject(parent) {}

void DesktopNotifications::Show(const QString& summary, const QString& body, const std::vector<Action>& actions,
                                ActionHandler onAction, const QString& series)
{
    // The bus is reached at the first notification, not at start-up.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    if (!std::exchange(m_listening, true)) {
        bus.connect(kService, kPath, kInterface, "ActionInvoked", this, SLOT(OnActionInvoked(uint, QString)));
        bus.connect(kService, kPath, kInterface, "NotificationClosed", this, SLOT(OnClosed(uint, uint)));
    }
    QStringList actionList;
    for (const Action& action : actions)
        actionList << action.key << action.text;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Notify");
    const auto last = series.isEmpty() ? m_series.end() : m_series.find(series);
    const uint replaces = last == m_series.end() ? 0 : last->second;
    call << QString("Vistrel") << replaces << QString("vistrel") << summary << body << actionList << QVariantMap()
         << kExpireMs;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, series, replaces, onAction = std::move(onAction)](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<uint> reply = *finished;
                if (!reply.isError() && onAction)
                    m_handlers[reply.value()] = onAction;
                if (!reply.isError() && !series.isEmpty() && replaces != reply.value())
                    m_handlers.erase(replaces);
                if (!reply.isError() && !series.isEmpty())
                    m_series[series] = reply.value();
                finished->deleteLater();
            });
}

void DesktopNotifications::OnActionInvoked(uint id, const QString& key)
{
    if (const auto handler = m_handlers.find(id); handler != m_handlers.end())
        handler->second(key);
}

void DesktopNotifications::OnClosed(uint id, uint) { m_handlers.erase(id); }

void ShowInFileManager(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        OpenInDesktop(QFileInfo(absolute).absolutePath());
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                                       "org.freedesktop.FileManager1", "ShowItems");
    call << QStringList {QUrl::fromLocalFile(absolute).toString()} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [absolute](QDBusPendingCallWatcher* finished) {
        if (finished->isError()) // no file manager answers
            OpenInDesktop(QFileInfo(absolute).absolutePath());
        finished->deleteLater();
    });
}

} // namespace vistrel
