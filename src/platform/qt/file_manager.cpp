#include "platform/qt/file_manager.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QStringList>
#include <QUrl>

namespace vistrel {

namespace {

const QString kService = "org.freedesktop.FileManager1";
constexpr int kAnswerLimitMs = 3000;

// Running now, or started by the bus when asked.
bool Answers(const QDBusConnection& bus)
{
    QDBusConnectionInterface* daemon = bus.interface();
    if (!daemon)
        return false;
    if (daemon->isServiceRegistered(kService).value())
        return true;
    const QDBusReply<QStringList> activatable = daemon->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(kService);
}

} // namespace

bool ShowPropertiesInFileManager(const QString& path)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !Answers(bus))
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, "/org/freedesktop/FileManager1", kService,
                                                       "ShowItemProperties");
    call << QStringList {QUrl::fromLocalFile(path).toString()} << QString();
    return bus.call(call, QDBus::Block, kAnswerLimitMs).type() == QDBusMessage::ReplyMessage;
}

} // namespace vistrel
