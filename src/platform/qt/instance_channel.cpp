#include "platform/qt/instance_channel.h"


#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <cstdio>
#include <memory>
#include <optional>

namespace vistrel {

namespace {

// A request is a few short lines; anything longer is not from a copy of ours.
constexpr qint64 kMaxRequestBytes = 64 * 1024;

// A request: the number of words, then each word as its byte length and its
// bytes, every number on a line of its own. Any word, empty or with line
// breaks, comes through as it was.
QByteArray Encode(const QStringList& words)
{
    QByteArray bytes = QByteArray::number(words.size()) + '\n';
    for (const QString& word : words) {
        QByteArray utf8 = word.toUtf8();
        bytes += QByteArray::number(utf8.size()) + '\n' + utf8;
    }
    return bytes;
}

// Reads a number up to a line break at pos; nullopt when the line is not all there.
std::optional<qsizetype> ReadNumber(const QByteArray& bytes, qsizetype& pos, bool& bad)
{
    qsizetype end = bytes.indexOf('\n', pos);
    if (end < 0)
        return std::nullopt;
    bool ok = false;
    qsizetype value = bytes.mid(pos, end - pos).toLongLong(&ok);
    if (!ok || value < 0 || value > kMaxRequestBytes) {
        bad = true;
        return std::nullopt;
    }
    pos = end + 1;
    return value;
}

// The request once it has arrived whole; bad is set for bytes no copy of ours sends.
std::optional<QStringList> Decode(const QByteArray& bytes, bool& bad)
{
    qsizetype pos = 0;
    auto count = ReadNumber(bytes, pos, bad);
    if (!count)
        return std::nullopt;
    QStringList words;
    for (qsizetype i = 0; i < *count; ++i) {
        auto length = ReadNumber(bytes, pos, bad);
        if (!length || bytes.size() - pos < *length)
            return std::nullopt;
        words << QString::fromUtf8(bytes.mid(pos, *length));
        pos += *length;
    }
    return words;
}

} // namespace

InstanceServer::InstanceServer(const QString& socketPath, Handler handler, QObject* parent)
    : QObject(parent), m_server(new QLocalServer(this)), m_handler(std::move(handler))
{
    // We hold the instance lock, so a socket file left there belongs to a copy
    // that has ended.
    QLocalServer::removeServer(socketPath);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(socketPath))
        std::fprintf(stderr, "vistrel: cannot listen on %s (%s); later starts will not reach this copy\n",
                     qPrintable(socketPath), qPrintable(m_server->errorString()));
    connect(m_server, &QLocalServer::newConnection, this, &InstanceServer::OnNewConnection);
}

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
            bool bad = false;
            auto request = Decode(*buffer, bad);
            if (bad) {
                socket->abort();
                return;
            }
            if (!request)
                return; // more to come
            buffer->clear();
            ChannelReply reply = m_handler(*request);
            QByteArray out = reply.output.toUtf8();
            socket->write(QByteArray::number(reply.status) + '\n' + QByteArray::number(out.size()) + '\n' +
                          out + reply.error.toUtf8());
            socket->flush();
            socket->disconnectFromServer();
        });
    }
}

HandOver SendToRunningCopy(const QString& socketPath, const QStringList& request, int timeoutMs,
                           const std::function<bool()>& tryTakeLock, ChannelReply& reply)
{
    QElapsedTimer clock;
    clock.start();
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(200))
            break;
        if (tryTakeLock())
            return HandOver::LockTaken;
        if (clock.elapsed() > timeoutMs)
            return HandOver::NoAnswer;
        QThread::msleep(50);
    }
    socket.write(Encode(request));
    if (!socket.waitForBytesWritten(timeoutMs))
        return HandOver::NoAnswer;
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
        return HandOver::NoAnswer;
    bool statusOk = false, lengthOk = false;
    reply.status = data.left(first).toInt(&statusOk);
    qsizetype outLength = data.mid(first + 1, second - first - 1).toLongLong(&lengthOk);
    if (!statusOk || !lengthOk || outLength < 0 || outLength > data.size() - second - 1)
        return HandOver::NoAnswer;
    reply.output = QString::fromUtf8(data.mid(second + 1, outLength));
    reply.error = QString::fromUtf8(data.mid(second + 1 + outLength));
    return HandOver::Answered;
}

} // namespace vistrel
