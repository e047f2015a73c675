#include "platform/qt/instance_channel.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <memory>

namespace vistrel {

namespace {

// A request is a few short lines; anything longer is not from a copy of ours.
constexpr qint64 kMaxRequestBytes = 64 * 1024;

QByteArray Encode(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        QString clean = line;
        clean.replace('\n', ' ');
        bytes += clean.toUtf8() + '\n';
    }
    return bytes + '\n';
}

} // namespace

InstanceServer::InstanceServer(const QString& socketPath, Handler handler, QObject* parent)
    : QObject(parent), m_server(new QLocalServer(this)), m_handler(std::move(handler))
{
    // We hold the instance lock, so a socket file left there belongs to a copy
    // that has ended.
    QLocalServer::removeServer(socketPath);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->listen(socketPath);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceServer::OnNewConnection);
}

bool InstanceServer::listening() const { return m_server->isListening(); }

void InstanceServer::OnNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
            *buffer += socket->readAll();
            if (buffer->size() > kMaxRequestBytes) {
                socket->abort();
                return;
            }
            // A request ends with an empty line.
            if (!buffer->endsWith("\n\n"))
                return;
            QStringList request = QString::fromUtf8(*buffer).split('\n', Qt::SkipEmptyParts);
            buffer->clear();
            ChannelReply reply = m_handler(request);
            QByteArray out = reply.output.toUtf8();
            socket->write(QByteArray::number(reply.status) + '\n' + QByteArray::number(out.size()) + '\n' +
                          out + reply.error.toUtf8());
            socket->flush();
            socket->disconnectFromServer();
        });
    }
}

std::optional<ChannelReply> SendToRunningCopy(const QString& socketPath, const QStringList& request,
                                              int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QLocalSocket socket;
    // The running copy may hold the lock but not listen yet: it is still starting.
    for (;;) {
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(200))
            break;
        if (clock.elapsed() > timeoutMs)
            return std::nullopt;
        QThread::msleep(50);
    }
    socket.write(Encode(request));
    if (!socket.waitForBytesWritten(timeoutMs))
        return std::nullopt;
    QByteArray data;
    while (socket.state() == QLocalSocket::ConnectedState || socket.bytesAvailable()) {
        if (!socket.bytesAvailable() && !socket.waitForReadyRead(int(std::max<qint64>(1, timeoutMs - clock.elapsed()))))
            break;
        data += socket.readAll();
        if (data.size() > 16 * kMaxRequestBytes)
            break;
    }
    // Reply: status line, length of the output line, output, then error text.
    qsizetype first = data.indexOf('\n');
    qsizetype second = first < 0 ? -1 : data.indexOf('\n', first + 1);
    if (second < 0)
        return std::nullopt;
    bool statusOk = false, lengthOk = false;
    ChannelReply reply;
    reply.status = data.left(first).toInt(&statusOk);
    qsizetype outLength = data.mid(first + 1, second - first - 1).toLongLong(&lengthOk);
    if (!statusOk || !lengthOk || outLength < 0 || outLength > data.size() - second - 1)
        return std::nullopt;
    reply.output = QString::fromUtf8(data.mid(second + 1, outLength));
    reply.error = QString::fromUtf8(data.mid(second + 1 + outLength));
    return reply;
}

} // namespace vistrel
