// A notification service of the tests' own on the session bus. It prints each
// Notify call as one line, "notify SUMMARY|BODY|ACTIONS" (line breaks of the
// body as "\n", actions joined by commas; "|replaces ID" follows when the call
// replaces an earlier notification), and answers with a new id, or with the
// replaced one's. With
// "--invoke KEY" it then invokes that action of the notification, as a user
// clicking it would.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <cstdio>

class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit NotificationService(QString invoke) : m_invoke(std::move(invoke)) {}

public slots:
    uint Notify(const QString&, uint replaces, const QString&, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap&, int)
    {
        const bool replacing = replaces != 0 && replaces <= m_lastId;
        const uint id = replacing ? replaces : ++m_lastId;
        std::printf("notify %s|%s|%s%s\n", qPrintable(summary), qPrintable(QString(body).replace("\n", "\\n")),
                    qPrintable(actions.join(',')), replacing ? qPrintable(QString("|replaces %1").arg(replaces)) : "");
        std::fflush(stdout);
        if (!m_invoke.isEmpty())
            QTimer::singleShot(200, this, [this, id] { emit ActionInvoked(id, m_invoke); });
        return id;
    }
    QStringList GetCapabilities() { return {"body", "actions"}; }
    void CloseNotification(uint id) { emit NotificationClosed(id, 3); }

signals:
    void ActionInvoked(uint id, const QString& key);
    void NotificationClosed(uint id, uint reason);

private:
    QString m_invoke;
    uint m_lastId = 0;
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype invoke = args.indexOf("--invoke");
    NotificationService service(invoke >= 0 && invoke + 1 < args.size() ? args[invoke + 1] : QString());
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject("/org/freedesktop/Notifications", &service,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) ||
        !bus.registerService("org.freedesktop.Notifications")) {
        std::fprintf(stderr, "notify_host: cannot take the service name\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "notify_host.moc"
