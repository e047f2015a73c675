#pragma once
// The line between copies of the program. The running copy listens on a local
// socket; a later copy sends it one request (its words, one per line, then an
// empty line) and reads back an exit status and the text to print. The request
// "32863" asks the running copy to show its main window.

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QLocalServer;

namespace vistrel {

struct ChannelReply {
    int status = 0;
    QString output; // for stdout
    QString error;  // for stderr
};

class InstanceServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<ChannelReply(const QStringList& request)>;

    InstanceServer(const QString& socketPath, Handler handler, QObject* parent = nullptr);

private:
    void OnNewConnection();

    QLocalServer* m_server; // child of this
    Handler m_handler;
};

enum class HandOver {
    Answered,  // reply holds the running copy's answer
    NoAnswer,  // the lock is held but nobody answered in time
    LockTaken, // the holder ended meanwhile and tryTakeLock took its place
};

// Sends a request to the running copy. The lock holder may be a copy still
// starting, or a command-line run that never listens; while waiting,
// tryTakeLock is asked each round whether the lock has come free (and takes it).
HandOver SendToRunningCopy(const QString& socketPath, const QStringList& request, int timeoutMs,
                           const std::function<bool()>& tryTakeLock, ChannelReply& reply);

} // namespace vistrel
